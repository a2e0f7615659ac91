// The prompt dialog fits its height to the question: the answer box one empty line below the last line of
// text, the dialog 10 pixels below the answer box, the answer handed back on OK.
#include <gtest/gtest.h>

#include "base/app_state.h"
#include "res/prompt_ids.h"
#include "tools/prompt_dialog.h"

namespace {

struct Layout {
    int lineHeight, textTop, answerTop, answerBottom, clientBottom, windowHeight;
};
Layout seen;

RECT InClient(HWND dialog, int control)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, control), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// Runs on the dialog's modal loop: measures the open prompt, then accepts it.
void CALLBACK MeasureAndAccept(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = modalWindow;
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    HDC dc = GetDC(dialog);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    RECT client, window;
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &window);
    RECT text = InClient(dialog, IDC_PROMPT_TEXT), answer = InClient(dialog, IDC_PROMPT_VALUE);
    seen = {metrics.tmHeight, text.top, answer.top, answer.bottom, client.bottom, window.bottom - window.top};
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST(PromptDialog, FitsAnyNumberOfLinesWithOneEmptyLineBeforeTheAnswer)
{
    int oneLineHeight = 0;
    for (int lines : {1, 5}) {
        promptText = "Line 1";
        for (int line = 2; line <= lines; line++)
            promptText += "\nLine " + std::to_string(line);
        promptValue = "typed";
        SetTimer(nullptr, 0, 50, MeasureAndAccept);
        ASSERT_TRUE(RunPromptDialog()) << lines;
        EXPECT_EQ(promptValue, "typed");
        EXPECT_EQ(seen.answerTop - seen.textTop, (lines + 1) * seen.lineHeight) << lines;
        EXPECT_EQ(seen.clientBottom, seen.answerBottom + 10) << lines;
        if (lines == 1)
            oneLineHeight = seen.windowHeight;
    }
    EXPECT_EQ(seen.windowHeight - oneLineHeight, 4 * seen.lineHeight);
    EXPECT_TRUE(promptText.empty());
}

}  // namespace
