// A simple combo box: an edit field above a list that is always open.
//
// Choosing a row of the list puts its text into the edit field; the field
// also takes typed text. With sorting on, rows are kept in alphabetical
// order without regard to letter case as they are added (see ListBox).
#pragma once

#include <QWidget>

class ListBox;
class QLineEdit;
class QListWidgetItem;

class SimpleComboBox : public QWidget {
    Q_OBJECT
  public:
    SimpleComboBox(bool sorted, QWidget* parent);

    // Adds a row (in sorted place when sorted, else at the end); returns its index.
    int AddString(const QString& text);
    // Removes every row; the edit field keeps its text.
    void ResetContent();
    int Count() const;
    // The text of row `index`, or an empty text when there is no such row.
    QString RowText(int index) const;

    // The edit field's text: the chosen row or what was typed.
    QString Text() const;
    void SetText(const QString& text);

    QLineEdit* Edit() const { return m_edit; }
    ListBox* List() const { return m_list; }

  signals:
    // A row of the list was double-clicked (after its text went into the field).
    void RowDoubleClicked();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void OnRowChosen(QListWidgetItem* item);

    QLineEdit* m_edit;
    ListBox* m_list;
};
