#include "platform/win32/choice_box.h"

#include <algorithm>

#include "platform/win32/dialog_window.h"

namespace {

// Layout of the question box, in dialog units.
constexpr int kMargin = 7;
constexpr int kTextWidth = 230;
constexpr int kCharactersPerLine = 52;  // of the text, at its average width
constexpr int kLineHeight = 9;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;
constexpr int kFirstButtonId = 100;
constexpr int kTextId = 99;

// About the lines `text` takes in the text area, each paragraph wrapped; the
// box measures the text once its font is known (ChoiceBox::FitText).
int LineCount(const std::string& text) {
    int lines = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const int length = static_cast<int>(end - start);
        lines += std::max(1, (length + kCharactersPerLine - 1) / kCharactersPerLine);
        start = end + 1;
    }
    return lines;
}

int ButtonWidth(const std::string& label) {
    const int letters = static_cast<int>(
        std::count_if(label.begin(), label.end(), [](char c) { return c != '&'; }));
    return std::max(50, letters * 4 + 14);
}

class ChoiceBox : public DialogWindow {
  public:
    ChoiceBox(const std::vector<std::string>& buttons, int escapeIndex)
        : m_buttons(buttons), m_escapeIndex(escapeIndex) {}

    int Run(HWND owner, const std::string& text, const std::string& caption) {
        const int textHeight = LineCount(text) * kLineHeight;
        int buttonsWidth = 0;
        for (const std::string& label : m_buttons) buttonsWidth += ButtonWidth(label) + kButtonGap;
        const int width = std::max(kTextWidth, buttonsWidth) + 2 * kMargin;
        const int buttonY = kMargin + textHeight + kMargin;
        std::vector<DialogControl> controls;
        controls.push_back({kTextId, ControlClass::Static, text.c_str(), kMargin, kMargin,
                            width - 2 * kMargin, textHeight,
                            WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX});
        int x = width - kMargin - buttonsWidth + kButtonGap;
        for (std::size_t index = 0; index < m_buttons.size(); ++index) {
            const bool start = static_cast<int>(index) == m_escapeIndex;
            controls.push_back(
                {kFirstButtonId + static_cast<int>(index), ControlClass::Button,
                 m_buttons[index].c_str(), x, buttonY, ButtonWidth(m_buttons[index]), kButtonHeight,
                 static_cast<DialogStyle>(WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                          (start ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON))});
            x += ButtonWidth(m_buttons[index]) + kButtonGap;
        }
        const DialogTemplate box{0,
                                 caption.c_str(),
                                 width,
                                 buttonY + kButtonHeight + kMargin,
                                 "MS Shell Dlg",
                                 8,
                                 WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                                 controls};
        return static_cast<int>(RunModal(owner, box));
    }

  protected:
    bool OnInitDialog() override {
        FitText();
        MessageBeep(MB_ICONQUESTION);
        FocusItem(kFirstButtonId + m_escapeIndex);
        return false;
    }
    void OnCommand(int id, int /*notification*/) override {
        if (id == IDCANCEL) End(m_escapeIndex);
        const int index = id - kFirstButtonId;
        if (index >= 0 && index < static_cast<int>(m_buttons.size())) End(index);
    }

  private:
    // Gives the text the height its lines take in the dialog's font, the
    // buttons and the box following it.
    void FitText() {
        const HWND text = Item(kTextId);
        RECT area{};
        GetWindowRect(text, &area);
        const int height = area.bottom - area.top;
        RECT measured{0, 0, area.right - area.left, 0};
        const HDC context = GetDC(text);
        const auto font = reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0));
        const HGDIOBJ previous = SelectObject(context, font);
        const std::wstring wide = SystemText(ItemText(kTextId));
        DrawTextW(context, wide.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(context, previous);
        ReleaseDC(text, context);
        const int shrink = height - (measured.bottom - measured.top);
        if (shrink == 0) return;
        SetWindowPos(text, nullptr, 0, 0, area.right - area.left, height - shrink,
                     SWP_NOMOVE | SWP_NOZORDER);
        for (std::size_t index = 0; index < m_buttons.size(); ++index) {
            const HWND button = Item(kFirstButtonId + static_cast<int>(index));
            RECT place{};
            GetWindowRect(button, &place);
            MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&place), 2);
            SetWindowPos(button, nullptr, place.left, place.top - shrink, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        }
        RECT box{};
        GetWindowRect(Handle(), &box);
        SetWindowPos(Handle(), nullptr, 0, 0, box.right - box.left, box.bottom - box.top - shrink,
                     SWP_NOMOVE | SWP_NOZORDER);
    }

    const std::vector<std::string>& m_buttons;
    int m_escapeIndex;
};

}  // namespace

void ShowMessageBoxW32(HWND owner, const std::string& text, const std::string& caption, bool stop) {
    MessageBoxW(owner, SystemText(text).c_str(), SystemText(caption).c_str(),
                MB_OK | (stop ? MB_ICONSTOP : 0) | (owner == nullptr ? MB_TASKMODAL : 0));
}

int AskChoiceW32(HWND owner, const std::string& text, const std::string& caption,
                 const std::vector<std::string>& buttons, int escapeIndex) {
    return ChoiceBox(buttons, escapeIndex).Run(owner, text, caption);
}
