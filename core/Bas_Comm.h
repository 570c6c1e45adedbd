#pragma once

#include "SignSettings.h"
#include "SignWindow.h"

#include <QString>

// The shared routines of the sign: the two files that carry SignSettings
// between runs, the layout of the sign window and its popup menu.
namespace Bas_Comm {

inline const QString SettingsFileName = QStringLiteral("Velmora.ini");
inline const QString MessageFileName = QStringLiteral("Velmora.txt");
// Line 8 of the settings file holds this when the message file is in the
// current directory.
inline const QString CurDirSentinel = QStringLiteral("CurDir");

// Each returns true on success and false on any failure; none raises an
// error or shows anything.
bool Ini_Read();
bool Ini_Write();
bool Data_Read();
bool Data_Write();

// Which file, which line and what was wrong, for the last failed file routine.
QString lastFileError();

// Lays out the sign window from SignSettings and its current size. Ends the
// program with an error box if that fails.
void Disp_Set();

// Pops up the sign window's menu at the mouse pointer; a chosen command has
// run when it returns.
void Menu_Show();

} // namespace Bas_Comm
