// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

class QAccessibleInterface;

namespace runtime {

class Label;
class LabelHost;

// A row of windowless labels that the keyboard handles as one control: it is
// one Tab stop; Left and Right (Home and End) move a mark from label to
// label, and Space, Return or Enter picks the marked one, which emits Pick
// with its index as a click on it would. The picked label is the selected
// one until another is picked or setSelected says otherwise; the mark starts
// on it whenever the row takes the focus.
//
// It lies over the labels, draws only the mark (and that only while it has
// the keyboard focus) and lets the mouse through to the labels; it neither
// draws nor changes the labels. Assistive tools see a list of selectable
// items, named by setItemNames, that can be pressed; the marked item has the
// focus, announced after the row's own, and a new selection is announced
// as the items' selected state and description and as a selection change of
// the list.
class LabelRow : public QWidget
{
    Q_OBJECT

public:
    // `labels` lie on `host`, which holds the row; they must outlive it.
    LabelRow(LabelHost *host, std::vector<const Label *> labels);
    ~LabelRow() override;

    int count() const { return int(m_labels.size()); }
    const Label &label(int index) const { return *m_labels.at(std::size_t(index)); }

    void setItemNames(const QStringList &names) { m_names = names; }
    QString itemName(int index) const { return m_names.value(index); }
    // The description assistive tools read on the selected item (that it is
    // the chosen one, in words); the other items have none.
    void setSelectionNote(const QString &note) { m_selectionNote = note; }
    QString itemDescription(int index) const
    {
        return index == m_selected ? m_selectionNote : QString();
    }

    // The marked label.
    int current() const { return m_current; }
    void setCurrent(int index);
    // The picked label, or -1 when none is.
    int selected() const { return m_selected; }
    void setSelected(int index);

    // Picks the label as Space does: emits Pick through the runtime's
    // dispatch, as a designed event.
    void pick(int index);

    // An item's interface for assistive tools, made on first request.
    QAccessibleInterface *itemInterface(int index);

signals:
    void Pick(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QRect markRect(int index) const;
    void moveMark(int index);
    void announceFocus(int index);
    void announceSelected(int index, bool selected);

    std::vector<const Label *> m_labels;
    QStringList m_names;
    QString m_selectionNote;
    int m_current = 0;
    int m_selected = -1;
    std::vector<unsigned> m_itemIds;
};

} // namespace runtime
