#pragma once
#include <QString>

// The program keeps its settings files and its copies of the shipped sounds, pictures and
// server lists in one per-user folder, and works in it as its current directory.
namespace settings {
// ORVELIRC_HOME when set, else "orvelirc" in the per-user data folder
// ($XDG_DATA_HOME, by default ~/.local/share).
QString WorkingFolderPath();
// The data files that come with the program: share/orvelirc beside the program's bin
// folder, in an installed prefix and in the build tree alike; "" when there is none.
QString ShippedDataFolder();
// Creates the folder, makes it the current directory and copies into it each shipped file
// it lacks; a file the user already has, in any letter case, is kept as it is. Returns
// what went wrong, "" when the folder is ready (a file that could not be copied is only
// missing, as if it had never been shipped).
QString EnterWorkingFolder(const QString &folder, const QString &shipped);
} // namespace settings
