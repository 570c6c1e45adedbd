// SPDX-License-Identifier: MIT
#include "SettingsChange.h"

SettingsChange SettingsChange::between(const storage::SignSettingsRecord &known,
                                       const storage::SignSettingsRecord &read,
                                       const storage::SignSettingsRecord &current)
{
    SettingsChange change;
    change.next = current;
    change.next.Speed = read.Speed;
    change.next.ForeColor = read.ForeColor;
    change.next.BackColor = read.BackColor;
    change.next.DataDir = read.DataDir;
    change.next.Top = read.Top;
    change.next.Left = read.Left;
    change.moved = read.Top != known.Top || read.Left != known.Left;
    change.resized = read.Width != known.Width || read.Height != known.Height;
    change.restyled = read.ForeColor != current.ForeColor || read.BackColor != current.BackColor;
    change.newDirectory = read.DataDir != current.DataDir;
    return change;
}
