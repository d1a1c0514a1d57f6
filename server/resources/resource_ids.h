/* Ids shared by tessel.rc and the code of tessel.exe. Plain macros, because
   the resource compiler reads this file too. */
#ifndef TESSEL_SERVER_RESOURCES_RESOURCE_IDS_H
#define TESSEL_SERVER_RESOURCES_RESOURCE_IDS_H

/* Commands, grouped by hundreds: file, control, options, help. The string
   table holds each command's hint, "status text\ntooltip", under its id. */
#define CM_RUN 101
#define CM_EXIT 102
#define CM_RESET 201
#define CM_TERMINATE 202
#define CM_SUSPEND 203
#define CM_CONTINUE 204
#define CM_SETUP 300
#define CM_PROTOCOLS 301
#define CM_BOARDS 302
#define CM_RUNTIME 303
#define CM_ABOUT 402

/* The Window menu's commands are the MDI client's own. */
#include "framework/mdi_commands.h"

/* Dialog "SETUP": one button for each of the other top-level dialogs. */
#define IDC_SETUP_PROTOCOLS 101
#define IDC_SETUP_BOARDS 102
#define IDC_SETUP_RUNTIME 103

/* Dialogs "PROTOCOLS" and "BOARDS". */
#define IDC_LIBRARY_LIST 10
#define IDC_LIBRARY_PROPERTIES 11
#define IDC_LIBRARY_ADD 12
#define IDC_LIBRARY_REMOVE 13

/* Dialogs "PROTOCOLS_PROPERTIES" and "BOARDS_PROPERTIES". */
#define IDC_PROPERTY_DESCRIPTION 101
#define IDC_PROPERTY_LIBRARY_NAME 102
#define IDC_PROPERTY_FILE_EXTENSION 103
#define IDC_PROPERTY_LINK_NAME 103
#define IDC_PROPERTY_LINK_TIMEOUT 104

/* Dialog "RUNTIME". */
#define IDC_RUNTIME_PROTOCOL 101
#define IDC_RUNTIME_BOARD 102
#define IDC_RUNTIME_PARAMETERS 103

#endif
