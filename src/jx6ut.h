// JX6_UT: everything a host includes.
#pragma once

#include "platform/win32.h"
#include "platform/ui_hooks.h"
#include "platform/drive_map.h"
#include "platform/screen.h"

#include "frame/startup.h"
#include "frame/error_handler.h"
#include "frame/catalog.h"
#include "frame/worksheet_status.h"

#include "files/jxfileio.h"
#include "files/path_utils.h"
#include "files/file_lock.h"
#include "files/file_prompts.h"

#include "uitext/lang_system.h"
#include "uitext/menu_system.h"

#include "textimport/field_functions.h"
#include "textimport/string_list.h"
#include "textimport/txtimport_format.h"

#include "geo/angles.h"
#include "geo/numeric_entry.h"
#include "geo/plane_geometry.h"

#include "archive/archive_manager.h"
#include "report/report_metrics.h"
#include "report/report_string.h"
#include "report/screen_metrics.h"

#include "dib/dib.h"
