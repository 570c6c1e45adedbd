// SPDX-License-Identifier: MIT
#pragma once

#include "Form.h"

namespace runtime {

// Holds the one instance of a form type: created with its designed
// properties and loaded (Form_Load run) on first reference; after Unload the
// next reference creates and loads it afresh.
template <typename T> class FormInstance
{
public:
    static T &get()
    {
        if (!s_form) {
            s_form = new T;
            s_form->setUnloadHook([] { s_form = nullptr; });
            s_form->Load();
        }
        return *s_form;
    }

    static bool isLoaded() { return s_form != nullptr; }

    // The loaded instance or nothing; never loads.
    static T *loaded() { return s_form; }

private:
    static inline T *s_form = nullptr;
};

} // namespace runtime
