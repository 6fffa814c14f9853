// Declarations of the Win32 subset for report pages and fonts: fonts and
// text metrics, printer device
// contexts, and the print, page-setup and font dialogs. Included only
// through win32_posix.h.
#pragma once

#include "../jx_export.h"

#define ERROR_INVALID_PRINTER_NAME 1801L

// ---------------------------------------------------------------------------
// Fonts.
#define LF_FACESIZE 32

typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *LPLOGFONTA;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *LPTEXTMETRICA;

// The stock font every device context starts with.
#define SYSTEM_FONT 13

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_REGULAR 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2

#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50

// tmPitchAndFamily bits; TMPF_FIXED_PITCH set means a variable pitch.
#define TMPF_FIXED_PITCH 0x01
#define TMPF_VECTOR 0x02
#define TMPF_TRUETYPE 0x04
#define TMPF_DEVICE 0x08

// ---------------------------------------------------------------------------
// Printers: device mode and device names.
#define CCHDEVICENAME 32
#define CCHFORMNAME 32

typedef struct _devicemodeA {
    BYTE dmDeviceName[CCHDEVICENAME];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    DWORD dmFields;
    short dmOrientation;
    short dmPaperSize;
    short dmPaperLength; // tenths of a millimetre
    short dmPaperWidth;  // tenths of a millimetre
    short dmScale;
    short dmCopies;
    short dmDefaultSource;
    short dmPrintQuality;
    short dmColor;
    short dmDuplex;
    short dmYResolution;
    short dmTTOption;
    short dmCollate;
    BYTE dmFormName[CCHFORMNAME];
    WORD dmLogPixels;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFlags;
    DWORD dmDisplayFrequency;
    DWORD dmICMMethod;
    DWORD dmICMIntent;
    DWORD dmMediaType;
    DWORD dmDitherType;
    DWORD dmReserved1;
    DWORD dmReserved2;
    DWORD dmPanningWidth;
    DWORD dmPanningHeight;
} DEVMODEA, *LPDEVMODEA;

#define DM_ORIENTATION 0x00000001u
#define DM_PAPERSIZE 0x00000002u
#define DM_PAPERLENGTH 0x00000004u
#define DM_PAPERWIDTH 0x00000008u
#define DM_PRINTQUALITY 0x00000400u
#define DM_YRESOLUTION 0x00002000u
#define DMORIENT_PORTRAIT 1
#define DMORIENT_LANDSCAPE 2

// Offsets, in characters from the start of the block, of three strings
// that follow the header in the same block.
typedef struct tagDEVNAMES {
    WORD wDriverOffset;
    WORD wDeviceOffset;
    WORD wOutputOffset;
    WORD wDefault;
} DEVNAMES, *LPDEVNAMES;

#define DN_DEFAULTPRN 0x0001

// ---------------------------------------------------------------------------
// Common dialogs: print, page setup, font.
typedef UINT_PTR(CALLBACK* LPPRINTHOOKPROC)(HWND, UINT, UINT_PTR, LONG_PTR);
typedef UINT_PTR(CALLBACK* LPSETUPHOOKPROC)(HWND, UINT, UINT_PTR, LONG_PTR);
typedef UINT_PTR(CALLBACK* LPPAGESETUPHOOK)(HWND, UINT, UINT_PTR, LONG_PTR);
typedef UINT_PTR(CALLBACK* LPPAGEPAINTHOOK)(HWND, UINT, UINT_PTR, LONG_PTR);
typedef UINT_PTR(CALLBACK* LPCFHOOKPROC)(HWND, UINT, UINT_PTR, LONG_PTR);

typedef struct tagPDA {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;
    HGLOBAL hDevNames;
    HDC hDC;
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LONG_PTR lCustData;
    LPPRINTHOOKPROC lpfnPrintHook;
    LPSETUPHOOKPROC lpfnSetupHook;
    LPCSTR lpPrintTemplateName;
    LPCSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
} PRINTDLGA, *LPPRINTDLGA;

#define PD_RETURNDC 0x00000100u
#define PD_RETURNDEFAULT 0x00000400u

typedef struct tagRECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
} RECT, *LPRECT;

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT, *LPPOINT;

typedef struct tagPSDA {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;
    HGLOBAL hDevNames;
    DWORD Flags;
    POINT ptPaperSize;
    RECT rtMinMargin;
    RECT rtMargin;
    HINSTANCE hInstance;
    LONG_PTR lCustData;
    LPPAGESETUPHOOK lpfnPageSetupHook;
    LPPAGEPAINTHOOK lpfnPagePaintHook;
    LPCSTR lpPageSetupTemplateName;
    HGLOBAL hPageSetupTemplate;
} PAGESETUPDLGA, *LPPAGESETUPDLGA;

#define PSD_INTHOUSANDTHSOFINCHES 0x00000004u
#define PSD_INHUNDREDTHSOFMILLIMETERS 0x00000008u
#define PSD_RETURNDEFAULT 0x00000400u

typedef struct tagCHOOSEFONTA {
    DWORD lStructSize;
    HWND hwndOwner;
    HDC hDC;
    LPLOGFONTA lpLogFont;
    INT iPointSize; // tenths of a point
    DWORD Flags;
    COLORREF rgbColors;
    LONG_PTR lCustData;
    LPCFHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    HINSTANCE hInstance;
    LPSTR lpszStyle;
    WORD nFontType;
    WORD ___MISSING_ALIGNMENT__;
    INT nSizeMin;
    INT nSizeMax;
} CHOOSEFONTA, *LPCHOOSEFONTA;

#define CF_SCREENFONTS 0x00000001u
#define CF_PRINTERFONTS 0x00000002u
#define CF_INITTOLOGFONTSTRUCT 0x00000040u
#define CF_EFFECTS 0x00000100u
#define CF_FORCEFONTEXIST 0x00010000u

extern "C" {

// gdi32: printer contexts, fonts, text metrics. A host deletes the printer
// contexts the library gives it, and may measure its own report font on
// them; those calls are exported.
HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* mode);
JX_API BOOL WINAPI DeleteDC(HDC dc);
JX_API HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font);
JX_API BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);

// comdlg32 (the font dialog goes through ui_hooks.h)
BOOL WINAPI PrintDlgA(LPPRINTDLGA dialog);
BOOL WINAPI PageSetupDlgA(LPPAGESETUPDLGA dialog);
DWORD WINAPI CommDlgExtendedError(void);
}
