// Numbers of the prompt dialog (resource 134), shared by its template and its code.
#pragma once

#define IDD_PROMPT 134
#define IDC_PROMPT_TEXT 238
#define IDC_PROMPT_VALUE 239
