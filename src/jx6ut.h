// JX6_UT: everything a host includes.
#pragma once

#include "platform/win32.h"
#include "platform/ui_hooks.h"
#include "platform/drive_map.h"

#include "frame/startup.h"
#include "frame/error_handler.h"
#include "frame/catalog.h"
#include "frame/worksheet_status.h"

#include "files/jxfileio.h"

#include "textimport/field_functions.h"
