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

TEST(PromptDialog, FitsAnyNumberOfLinesWithOneEmptyLineBeforeTheAnswer)
{
    int heights[2] = {}, lineHeight = 0;
    for (int lines : {1, 5}) {
        promptText = "Line 1";
        for (int line = 2; line <= lines; line++)
            promptText += "\nLine " + std::to_string(line);
        HWND dialog = CreateDialogParamA(appInstance, MAKEINTRESOURCEA(IDD_PROMPT), nullptr, PromptDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        HDC dc = GetDC(dialog);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        ReleaseDC(dialog, dc);
        lineHeight = metrics.tmHeight;
        RECT text = InClient(dialog, IDC_PROMPT_TEXT), answer = InClient(dialog, IDC_PROMPT_VALUE), client, window;
        GetClientRect(dialog, &client);
        GetWindowRect(dialog, &window);
        EXPECT_EQ(answer.top - text.top, (lines + 1) * lineHeight) << lines;
        EXPECT_EQ(client.bottom, answer.bottom + 10) << lines;
        heights[lines / 5] = window.bottom - window.top;
        DestroyWindow(dialog);
    }
    EXPECT_EQ(heights[1] - heights[0], 4 * lineHeight);
}

}  // namespace
