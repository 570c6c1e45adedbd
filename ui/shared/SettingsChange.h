// SPDX-License-Identifier: MIT
#pragma once

#include "SignSettingsRecord.h"

// What a settings file changed from outside means for the running sign: the
// pure step of following it, apart from applying it. Only what changed in
// the file applies: the window stays where the user put it unless the file's
// position or size changed, and the speed, colours and data directory are
// the file's.
struct SettingsChange
{
    // The record the sign goes on with (its message as it was; a new data
    // directory's message is read by whoever applies the change).
    storage::SignSettingsRecord next;
    bool moved = false;    // the file's top or left changed
    bool resized = false;  // its width or height changed
    bool restyled = false; // the colours differ from what is shown
    bool newDirectory = false;

    // `known` is the file as the program last read or wrote it, `read` the
    // file now, `current` the sign's record.
    static SettingsChange between(const storage::SignSettingsRecord &known,
                                  const storage::SignSettingsRecord &read,
                                  const storage::SignSettingsRecord &current);
};
