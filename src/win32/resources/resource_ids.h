#pragma once
// The ids of the Windows window's resources and of its dialogs' controls. Read by the resource
// compiler as well as by C++, hence plain macros. The command ids are in common/command_ids.h.

// The menu, the accelerator table and the icon share one id.
#define IDR_MAINFRAME 100
#define IDD_ABOUTBOX 200
#define IDD_SETTINGS 201

// The settings dialog's controls (there is no 502).
#define IDC_READONLYOPEN 500
#define IDC_EXITBYESC 501
#define IDC_USENATIVE2ASCII 503
#define IDC_PATHLABEL 504
#define IDC_NATIVE2ASCIIPATH 505
#define IDC_BROWSE 506
#define IDC_KEEPUNTOUCHEDLINES 507
