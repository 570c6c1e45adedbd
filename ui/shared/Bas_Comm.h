// SPDX-License-Identifier: MIT
#pragma once

#include "MessageFile.h"
#include "SignOptions.h"
#include "SignSettingsRecord.h"
#include "SignWindow.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The shared routines of the sign: the two files that carry SignSettings
// between runs, the layout of the sign window and its popup menu. They gather
// what they need from the sign window and leave the file format to the
// storage core.
namespace Bas_Comm {

// The one settings record of the process.
inline storage::SignSettingsRecord SignSettings;

// Each returns true on success and false on any failure; none raises an
// error or shows anything.
bool Ini_Read();
bool Ini_Write();
bool Data_Read();
bool Data_Write();

// Stores `text` as the message in the message file of SignSettings.DataDir,
// as the message box's ＯＫ and the command line do; false and `why` when the
// file cannot keep it (the reason) or the save fails (the file and the reason).
// SignSettings itself is not changed.
bool storeMessage(const QString &text, QString *why);

// Why the message file cannot keep `text`, in the words of a diagnostic,
// naming the character in the way and its position where there is one.
QString refusal(const storage::MessageFile::Storability &check, QStringView text);

// The sign's options: velmora.conf beside the settings file, and whether the
// desktop starts the sign at login. Options holds them as last read or
// written.
inline SignOptions Options;
QString optionsPath();
// Fills `options` from velmora.conf, startAtLogin aside, unless the file is
// as the program last read or wrote it (then false, and nothing is done). A
// missing file gives the defaults; so does a malformed one, which is logged.
bool readOptions(SignOptions &options);
// Writes the options into velmora.conf, keeping whatever else it holds;
// false and `why` (the file and the reason) when that fails.
bool writeOptions(const SignOptions &options, QString *why);

// Which file and what was wrong, for the last failed file routine.
QString lastFileError();

// For following the files while the sign runs: where they are, their bytes
// as far as reading needs them (nothing, and `why` naming the file, when they
// cannot be read), and what they held when the program last read or wrote
// them.
QString settingsPath();
QString messagePath(const QString &directory);
std::optional<QByteArray> readSettings(QString *why);
std::optional<QByteArray> readMessage(const QString &directory, QString *why);
QByteArray knownSettingsBytes();
QByteArray knownMessageBytes();
// The encoding of the message file as the program last read or wrote it.
storage::TextEncoding::Kind knownMessageEncoding();
void setKnownBytes(const QByteArray &settings, const QByteArray &message);

// Lays out the sign window from SignSettings and its current size. Ends the
// program with an error box if that fails.
void Disp_Set();

// Pops up the sign window's menu at the mouse pointer; a chosen command has
// run when it returns.
void Menu_Show();

// The program's error box: the critical icon, one OK button and the title
// "エラーメッセージ", with the reason (which file, what went wrong) under the
// prompt.
void ErrorBox(const QString &prompt, const QString &reason = {});

// A failure the user is told of: one line in the log, "what: reason" (the
// reason alone when `what` is null, for a reason that says itself what
// failed), then the error box with the prompt and the reason. The log is in
// English for whoever reads it; the box speaks to the user.
void reportFailure(const char *what, const QString &prompt, const QString &reason);

} // namespace Bas_Comm
