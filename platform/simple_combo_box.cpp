#include "platform/simple_combo_box.h"

#include <QLineEdit>

#include "platform/list_box.h"

SimpleComboBox::SimpleComboBox(bool sorted, QWidget* parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_list(new ListBox(sorted, this)) {
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // The edit field is the tab stop; the list is reached by mouse or arrows.
    m_list->setFocusPolicy(Qt::ClickFocus);
    setFocusProxy(m_edit);
    connect(m_list, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { OnRowChosen(item); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        OnRowChosen(item);
        emit RowDoubleClicked();
    });
}

int SimpleComboBox::AddString(const QString& text) { return m_list->AddString(text); }

void SimpleComboBox::ResetContent() { m_list->clear(); }

int SimpleComboBox::Count() const { return m_list->count(); }

QString SimpleComboBox::RowText(int index) const {
    const QListWidgetItem* item = m_list->item(index);
    return item != nullptr ? item->text() : QString();
}

QString SimpleComboBox::Text() const { return m_edit->text(); }

void SimpleComboBox::SetText(const QString& text) { m_edit->setText(text); }

void SimpleComboBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int editHeight = m_edit->sizeHint().height();
    m_edit->setGeometry(0, 0, width(), editHeight);
    m_list->setGeometry(0, editHeight, width(), qMax(0, height() - editHeight));
}

void SimpleComboBox::OnRowChosen(QListWidgetItem* item) {
    if (item != nullptr) m_edit->setText(item->text());
}
