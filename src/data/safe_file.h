#pragma once

#include <QString>

// Writing a file so that an interruption (a kill, a power cut) leaves either the old state or
// the new one under its name, never a half-written file: the new content is written under a
// temporary name in the same folder, synced to the disk, and then renamed into place.
namespace fenlark {

// A name beside target that nothing uses yet ("data.mdb.part", "data.mdb.part1", ...), so the
// rename stays within one file system. Empty when none is free.
QString unusedNameBeside(const QString &target);

// Waits until the file's content, or the folder's list of names, is on the disk.
bool syncFile(const QString &path);
bool syncFolderOf(const QString &path);

// Syncs temporary and renames it to target, then syncs the folder so the new name survives a
// power cut too. With replace false an existing target is never touched (the move fails and
// error says so); with replace true it is replaced in one step. On failure temporary stays
// where it is and error says why.
bool moveIntoPlace(const QString &temporary, const QString &target, bool replace, QString &error);

} // namespace fenlark
