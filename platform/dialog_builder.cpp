#include "platform/dialog_builder.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "platform/icon_resource.h"
#include "platform/list_box.h"
#include "platform/multi_line_edit.h"
#include "platform/simple_combo_box.h"

namespace {

constexpr char kControlIdProperty[] = "dialogControlId";

// The letters whose average width is the font's base unit of width.
constexpr char kBaseUnitLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kBaseUnitLetterCount = sizeof kBaseUnitLetters - 1;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDivRounded(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

Qt::ScrollBarPolicy ScrollPolicy(DialogStyle style, DialogStyle bar) {
    return (style & bar) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
}

QWidget* CreateButton(const DialogControl& control, QWidget* parent) {
    const DialogStyle kind = control.style & BS_TYPEMASK;
    if (kind == BS_GROUPBOX) {
        auto* box = new QGroupBox(QString::fromUtf8(control.text), parent);
        // A group box only frames other controls; clicks go through to them.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        return box;
    }
    auto* button = new QPushButton(QString::fromUtf8(control.text), parent);
    button->setAutoDefault(true);
    button->setDefault(kind == BS_DEFPUSHBUTTON);
    return button;
}

QWidget* CreateEdit(const DialogControl& control, QWidget* parent) {
    if (control.style & ES_MULTILINE) {
        auto* edit = new MultiLineEdit((control.style & ES_WANTRETURN) != 0, parent);
        edit->setVerticalScrollBarPolicy(ScrollPolicy(control.style, WS_VSCROLL));
        edit->setHorizontalScrollBarPolicy(ScrollPolicy(control.style, WS_HSCROLL));
        const bool scrollsSideways = control.style & (ES_AUTOHSCROLL | WS_HSCROLL);
        edit->setLineWrapMode(scrollsSideways ? QPlainTextEdit::NoWrap
                                              : QPlainTextEdit::WidgetWidth);
        edit->setFrameShape((control.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        edit->setReadOnly(control.style & ES_READONLY);
        edit->setPlainText(QString::fromUtf8(control.text));
        return edit;
    }
    auto* edit = new QLineEdit(QString::fromUtf8(control.text), parent);
    edit->setFrame(control.style & WS_BORDER);
    edit->setReadOnly(control.style & ES_READONLY);
    return edit;
}

QWidget* CreateStatic(const DialogControl& control, QWidget* parent, const DialogUnits& units) {
    auto* label = new QLabel(parent);
    if ((control.style & SS_TYPEMASK) == SS_ICON) {
        // The icon is drawn as large as the control's rectangle allows, so it
        // never runs into the controls beside it.
        const int size = std::min(units.ToPixelsX(control.width), units.ToPixelsY(control.height));
        label->setPixmap(LoadIconResource(control.iconId).pixmap(size, size));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    label->setText(QString::fromUtf8(control.text));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QWidget* CreateListBox(const DialogControl& control, QWidget* parent) {
    auto* list = new ListBox((control.style & LBS_SORT) != 0, parent);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(ScrollPolicy(control.style, WS_VSCROLL));
    list->setHorizontalScrollBarPolicy(ScrollPolicy(control.style, WS_HSCROLL));
    list->setFrameShape((control.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    return list;
}

QWidget* CreateComboBox(const DialogControl& control, QWidget* parent) {
    const DialogStyle kind = control.style & CBS_TYPEMASK;
    if (kind == CBS_SIMPLE) return new SimpleComboBox((control.style & CBS_SORT) != 0, parent);
    auto* combo = new QComboBox(parent);
    combo->setEditable(kind == CBS_DROPDOWN);
    return combo;
}

QWidget* CreateControl(const DialogControl& control, QWidget* parent, const DialogUnits& units) {
    switch (control.controlClass) {
        case ControlClass::Button:
            return CreateButton(control, parent);
        case ControlClass::Edit:
            return CreateEdit(control, parent);
        case ControlClass::Static:
            return CreateStatic(control, parent, units);
        case ControlClass::ListBox:
            return CreateListBox(control, parent);
        case ControlClass::ComboBox:
            return CreateComboBox(control, parent);
    }
    return new QWidget(parent);
}

// Tab stops take the focus from the keyboard; other controls only by a click.
void SetFocusPolicy(QWidget* widget, DialogStyle style) {
    if (widget->focusPolicy() == Qt::NoFocus) return;
    widget->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
}

Qt::WindowFlags FrameFlags(DialogStyle style) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint;
    if ((style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    if (style & WS_MAXIMIZEBOX) flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The letters' average, rounded: a font's own average character width
    // is often narrower than its letters and would clip labels.
    m_baseUnitX = MulDivRounded(metrics.horizontalAdvance(QLatin1String(kBaseUnitLetters)), 1,
                                kBaseUnitLetterCount);
    m_charHeight = metrics.height();
}

int DialogUnits::ToPixelsX(int units) const { return MulDivRounded(units, m_baseUnitX, 4); }

int DialogUnits::ToPixelsY(int units) const { return MulDivRounded(units, m_charHeight, 8); }

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

QFont DialogFont(const DialogTemplate& dialogTemplate) {
    QFont font(QString::fromUtf8(dialogTemplate.fontName), dialogTemplate.pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void BuildDialog(QDialog* dialog, const DialogTemplate& dialogTemplate) {
    dialog->setWindowFlags(FrameFlags(dialogTemplate.style));
    dialog->setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    dialog->setFont(DialogFont(dialogTemplate));
    const DialogUnits units(dialog->font());
    dialog->setFixedSize(units.ToPixelsX(dialogTemplate.width),
                         units.ToPixelsY(dialogTemplate.height));

    std::vector<QWidget*> created;
    for (const DialogControl& control : dialogTemplate.controls) {
        QWidget* widget = CreateControl(control, dialog, units);
        widget->setProperty(kControlIdProperty, control.id);
        SetFocusPolicy(widget, control.style);
        widget->setGeometry(units.ToPixels(control.x, control.y, control.width, control.height));
        widget->setEnabled(!(control.style & WS_DISABLED));
        widget->setVisible(control.style & WS_VISIBLE);
        created.push_back(widget);
    }
    // Later siblings lie above earlier ones; raising them from last to first
    // puts the first control of the template on top.
    for (auto it = created.rbegin(); it != created.rend(); ++it) (*it)->raise();
}

QWidget* DialogItem(const QWidget* dialog, int id) {
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (DialogItemId(child) == id) return child;
    }
    return nullptr;
}

int DialogItemId(const QWidget* control) {
    const QVariant id = control->property(kControlIdProperty);
    return id.isValid() ? id.toInt() : IDC_STATIC;
}

void CenterWindow(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void PlaceClearOf(QWidget* window, const QRect& keepClear) {
    const QScreen* screen = window->screen();
    QRect frame = window->frameGeometry();
    if (screen == nullptr || !frame.intersects(keepClear)) return;
    const QRect area = screen->availableGeometry();
    if (keepClear.bottom() + frame.height() < area.bottom()) {
        frame.moveTop(keepClear.bottom() + 1);
    } else {
        frame.moveBottom(std::max(area.top() + frame.height() - 1, keepClear.top() - 1));
    }
    window->move(frame.topLeft());
}
