// Command numbers with two mistakes, for jxut menu check.
#ifndef __MNUDEFS5_R_H
#define __MNUDEFS5_R_H
#define IDM_FILE_OPEN 2002
#include "other.h"
#define IDM_FILE_EXIT 0
#define IDM_HELP_ABOUT 2029
#endif
