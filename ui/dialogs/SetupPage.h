// SPDX-License-Identifier: MIT
#pragma once

#include "LabelHost.h"
#include "SignOptions.h"
#include "SignSettingsRecord.h"

// One page of the setup dialog: its controls, placed relative to the tab
// control's top-left corner, filled from a settings record when the dialog
// opens and copied back into one when ＯＫ is pressed. Assistive tools see it
// as a pane named by its tab. A page knows nothing of the files, the sign or
// the other pages.
class SetupPage : public runtime::LabelHost
{
    Q_OBJECT

public:
    explicit SetupPage(QString caption) : m_caption(std::move(caption))
    {
        setAccessibleRole(QAccessible::Pane);
        setAccessibleName(m_caption);
    }

    // The text of the page's tab.
    QString caption() const { return m_caption; }

    virtual void load(const storage::SignSettingsRecord &settings) = 0;
    virtual void store(storage::SignSettingsRecord &settings) const = 0;

    // The sign's options beyond the designed settings, for a page that shows
    // some of them.
    virtual void loadOptions(const SignOptions &) {}
    virtual void storeOptions(SignOptions &) const {}

    // Why what the page holds cannot be stored, in the dialog's language;
    // empty when it can. ＯＫ stores nothing while a page says why not.
    virtual QString refusal() const { return {}; }

    // The controls the Tab key stops at while this page is current, in their
    // Tab order.
    virtual QList<QWidget *> inputControls() const { return {}; }

private:
    QString m_caption;
};
