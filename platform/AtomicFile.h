#pragma once
// Writing files so that a failure, or the process dying, at any point leaves either the old
// content or the new, never a mix:
//  - one file: written whole under a temporary name in the same folder, flushed to the disk, then
//    renamed over the old one;
//  - a set of files that belong together: written into a fresh folder beside theirs, which is then
//    swapped with the old folder in one step.
// Errors name their cause as the system gives it ("No space left on device", "Permission
// denied"). A file or folder the user may not write is refused with "Permission denied" and left
// as it is, though the rename would only need its folder to be writable; for the superuser, whom
// the system lets write anything, that is one without any write bit. What replaces a file or
// folder keeps its mode and, where the system allows, its owner and group.
#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace platform {

// Writes `data` to `path` atomically. Returns false and fills `error` (when given) on failure;
// the previous content of `path` is then untouched and no temporary file is left. Temporaries of
// `path` that earlier saves left behind when killed (`<name>.tmp-XXXXXX`) are removed first.
bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error = nullptr);

// Replaces the folder `folder` by one holding `files` (name inside the folder, content), all or
// nothing: they are written into a fresh folder beside it (`<folder>.new-XXXXXX`), which is then
// exchanged with the old folder in one step and the old set removed. Anything else the old folder
// held is carried over. A folder that does not exist yet is simply put in place. Folders of that
// name left behind by an interrupted earlier run are removed first. Returns false and fills
// `error` on failure; the old folder is then as it was.
bool ReplaceFolderAtomic(const QString& folder, const std::vector<std::pair<QString, QByteArray>>& files,
                         QString* error = nullptr);

// ---- test seam ----

// The steps of a save at which the file system can fail or the process can die.
enum class TFileStep { MakeFolder, Create, Write, Sync, Rename, Exchange, Remove };

// Called before each step with the path it acts on. Returning 0 lets the step run; returning an
// errno value makes the step fail with that error. A hook that throws leaves everything as a
// process killed at that point would: no clean-up runs.
using TFileFaultHook = std::function<int(TFileStep Step, const QString& Path)>;
// Installs the hook (an empty one removes it). Tests only.
void SetFileFaultHook(TFileFaultHook Hook);

} // namespace platform
