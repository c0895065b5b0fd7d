#include "platform/win32/dialog_memory.h"

#include <cstring>

#include "platform/win32/wide_path.h"

namespace {

// The predefined window classes of a dialog item, as their ordinals.
WORD ClassOrdinal(ControlClass controlClass) {
    switch (controlClass) {
        case ControlClass::Button:
            return 0x0080;
        case ControlClass::Edit:
            return 0x0081;
        case ControlClass::Static:
            return 0x0082;
        case ControlClass::ListBox:
            return 0x0083;
        case ControlClass::ComboBox:
            return 0x0085;
    }
    return 0x0082;
}

// Builds the template word by word; items are padded to four bytes.
class TemplateWriter {
  public:
    void Word(WORD word) { m_words.push_back(word); }
    void DoubleWord(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const char* utf8) {
        for (const wchar_t unit : Wide(utf8 != nullptr ? utf8 : "")) Word(static_cast<WORD>(unit));
        Word(0);
    }
    void AlignToDoubleWord() {
        if (m_words.size() % 2 != 0) Word(0);
    }
    std::vector<DWORD> Finish() {
        AlignToDoubleWord();
        std::vector<DWORD> memory(m_words.size() / 2);
        std::memcpy(memory.data(), m_words.data(), m_words.size() * sizeof(WORD));
        return memory;
    }

  private:
    std::vector<WORD> m_words;
};

void WriteControl(TemplateWriter* writer, const DialogControl& control) {
    writer->AlignToDoubleWord();
    writer->DoubleWord(control.style);
    writer->DoubleWord(0);  // extended style
    writer->Word(static_cast<WORD>(control.x));
    writer->Word(static_cast<WORD>(control.y));
    writer->Word(static_cast<WORD>(control.width));
    writer->Word(static_cast<WORD>(control.height));
    writer->Word(static_cast<WORD>(control.id));
    writer->Word(0xFFFF);
    writer->Word(ClassOrdinal(control.controlClass));
    const bool icon = control.controlClass == ControlClass::Static &&
                      (control.style & SS_TYPEMASK) == SS_ICON && control.iconId != 0;
    if (icon) {
        writer->Word(0xFFFF);
        writer->Word(static_cast<WORD>(control.iconId));
    } else {
        writer->Text(control.text);
    }
    writer->Word(0);  // no creation data
}

}  // namespace

std::vector<DWORD> DialogMemory(const DialogTemplate& dialogTemplate) {
    TemplateWriter writer;
    writer.DoubleWord(dialogTemplate.style | DS_SETFONT | DS_CENTER);
    writer.DoubleWord(0);  // extended style
    writer.Word(static_cast<WORD>(dialogTemplate.controls.size()));
    writer.Word(0);  // x and y: the dialog centres itself
    writer.Word(0);
    writer.Word(static_cast<WORD>(dialogTemplate.width));
    writer.Word(static_cast<WORD>(dialogTemplate.height));
    writer.Word(0);  // no menu
    writer.Word(0);  // the standard dialog class
    writer.Text(dialogTemplate.caption);
    writer.Word(static_cast<WORD>(dialogTemplate.pointSize));
    writer.Text(dialogTemplate.fontName);
    for (const DialogControl& control : dialogTemplate.controls) WriteControl(&writer, control);
    return writer.Finish();
}
