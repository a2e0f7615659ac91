// The prompt dialog fits its height to the question: the answer box one empty line below its last line of
// text, the dialog 10 pixels below the answer box.
#include <gtest/gtest.h>

#include "base/app_state.h"
#include "res/prompt_ids.h"
#include "tools/prompt_dialog.h"

namespace {

RECT InClient(HWND dialog, int control)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, control), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

TEST(PromptDialog, FitsItsLinesWithOneEmptyLineBeforeTheAnswer)
{
    promptText = "Line 1\nLine 2\nLine 3";
    HWND dialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_PROMPT), nullptr, PromptDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HDC dc = GetDC(dialog);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(dialog, dc);
    RECT text = InClient(dialog, IDC_PROMPT_TEXT), answer = InClient(dialog, IDC_PROMPT_VALUE), client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(answer.top - text.top, 4 * metrics.tmHeight);
    EXPECT_EQ(client.bottom, answer.bottom + 10);
    DestroyWindow(dialog);
}

}  // namespace
