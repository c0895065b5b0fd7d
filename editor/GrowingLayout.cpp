#include "editor/GrowingLayout.h"

#include <QWidget>
#include <algorithm>

GrowingLayout::GrowingLayout(QWidget* dialog, QWidget* list, QWidget* description, QWidget* frame)
    : m_base(dialog->size()), m_list(list), m_description(description), m_frame(frame) {
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow()) m_geometry[child] = child->geometry();
    }
}

void GrowingLayout::Apply(const QSize& size) const {
    const int extraWidth = std::max(0, size.width() - m_base.width());
    const int extraHeight = std::max(0, size.height() - m_base.height());
    const int listExtra = extraHeight / 2;
    const int descriptionExtra = extraHeight - listExtra;
    for (const auto& [control, base] : m_geometry) {
        control->setGeometry(Placed(control, base, extraWidth, listExtra, descriptionExtra));
    }
}

QRect GrowingLayout::Placed(QWidget* control, const QRect& base, int extraWidth, int listExtra,
                            int descriptionExtra) const {
    const QRect list = m_geometry.at(m_list);
    const QRect description = m_geometry.at(m_description);
    if (control == m_frame) {
        return base.adjusted(0, 0, extraWidth, listExtra + descriptionExtra);
    }
    if (control == m_list) return base.adjusted(0, 0, extraWidth, listExtra);
    if (control == m_description) {
        return base.adjusted(0, 0, extraWidth, descriptionExtra).translated(0, listExtra);
    }
    int down = 0;
    if (base.top() >= list.bottom()) down += listExtra;
    if (base.top() >= description.bottom()) down += descriptionExtra;
    return base.translated(0, down);
}
