#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

TFileFaultHook& FaultHook()
{
    static TFileFaultHook hook;
    return hook;
}

// The hook's verdict on a step: 0 to run it, else the error it fails with.
int Injected(TFileStep step, const QString& path)
{
    return FaultHook() ? FaultHook()(step, path) : 0;
}

QString ErrorText(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QByteArray Native(const QString& path)
{
    return QFile::encodeName(path);
}

// A name beside `base` that does not exist yet: `base` + `infix` + six random letters.
QString FreshName(const QString& base, const char* infix)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString name = base + QLatin1String(infix);
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof(letters) - 1))]);
    return name;
}

// Flushes a folder's entries (a rename in it) to the disk; a file system that cannot is no error.
void SyncFolder(const QString& folder)
{
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// 0 when we may write what `path` names (its `st` read already), else the error a write would
// meet. The system lets the superuser write anything, so for it the bits decide alone: a file or
// folder without any write bit was made read-only on purpose and is not replaced, just as the
// system runs a file for the superuser only when some execute bit is set. Everyone else is asked
// about as the system itself decides (owner, group, access lists).
int WriteDenied(const QString& path, const struct stat& st)
{
    if (::geteuid() == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 ? 0 : EACCES;
    return ::faccessat(AT_FDCWD, Native(path).constData(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// What the old file or folder was: the new one takes its mode and, where the system allows, its
// owner and group (a file of another user stays theirs).
struct TKeep {
    bool keep = false;
    struct stat st {};
};

void KeepOwner(int fd, const TKeep& keep)
{
    if (!keep.keep || (keep.st.st_uid == ::geteuid() && keep.st.st_gid == ::getegid()))
        return;
    if (::fchown(fd, keep.st.st_uid, keep.st.st_gid) != 0)
        (void)!::fchown(fd, uid_t(-1), keep.st.st_gid); // at least the group, when we are in it
}

// Removes what interrupted saves of `target` left: `<name>.tmp-` and six letters, beside it. A save
// killed while writing leaves its temporary behind, and nothing else would ever remove it.
void RemoveStaleTemporaries(const QString& target)
{
    const QFileInfo info(target);
    const QString prefix = info.fileName() + QStringLiteral(".tmp-");
    const QDir dir = info.absoluteDir();
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
            continue;
        bool ours = true;
        for (qsizetype i = prefix.size(); i < name.size(); ++i)
            ours = ours && name.at(i).unicode() < 0x80 && name.at(i).isLetterOrNumber();
        const QString path = dir.filePath(name);
        if (ours && !QFileInfo(path).isSymLink())
            ::unlink(Native(path).constData());
    }
}

// Writes a new file `path` (which must not exist) whole and flushes it to the disk. On failure the
// file is removed and `err` holds the cause.
bool WriteNewFile(const QString& path, const QByteArray& data, const TKeep& keep, int& err)
{
    if ((err = Injected(TFileStep::Create, path)) != 0)
        return false;
    const int fd = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        err = errno;
        return false;
    }
    bool ok = true;
    KeepOwner(fd, keep);
    if (keep.keep && ::fchmod(fd, keep.st.st_mode & 07777) != 0) {
        err = errno;
        ok = false;
    }
    if (ok && (err = Injected(TFileStep::Write, path)) != 0)
        ok = false;
    const char* p = data.constData();
    qsizetype left = data.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            ok = false;
        } else {
            p += n;
            left -= n;
        }
    }
    // Delayed allocation reports a full disk only here: the data must be on the disk before the
    // rename makes it the file.
    if (ok && (err = Injected(TFileStep::Sync, path)) != 0)
        ok = false;
    if (ok && ::fsync(fd) != 0) {
        err = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        err = errno;
        ok = false;
    }
    if (!ok)
        ::unlink(Native(path).constData());
    return ok;
}

bool RemoveTree(const QString& path)
{
    if (Injected(TFileStep::Remove, path) != 0)
        return false;
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return QDir(path).removeRecursively();
    return QFile::remove(path);
}

// Copies what `from` holds into the existing folder `to`, except the names in `skip`; links are
// copied as links.
bool CopyTree(const QString& from, const QString& to, const QStringList& skip, QString& why)
{
    const QDir src(from);
    const QFileInfoList entries =
        src.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& e : entries) {
        if (skip.contains(e.fileName()))
            continue;
        const QString target = QDir(to).filePath(e.fileName());
        if (e.isSymLink()) {
            if (!QFile::link(e.symLinkTarget(), target)) {
                why = QStringLiteral("\"%1\" cannot be carried over").arg(e.filePath());
                return false;
            }
        } else if (e.isDir()) {
            if (!QDir().mkdir(target) || !CopyTree(e.filePath(), target, {}, why))
                return false;
        } else if (!QFile::copy(e.filePath(), target)) {
            why = QStringLiteral("\"%1\" cannot be carried over").arg(e.filePath());
            return false;
        }
    }
    return true;
}

} // namespace

void SetFileFaultHook(TFileFaultHook Hook)
{
    FaultHook() = std::move(Hook);
}

bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error)
{
    // A link is followed: the file it names is the one replaced, the link stays.
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink())
        target = info.symLinkTarget();
    TKeep keep;
    keep.keep = ::stat(Native(target).constData(), &keep.st) == 0;
    if (keep.keep && S_ISDIR(keep.st.st_mode)) {
        if (error)
            *error = ErrorText(EISDIR);
        return false;
    }
    // The rename needs only the folder to be writable; a file the user may not write is refused
    // all the same, as its folder would be, and stays as it is.
    const QString folder = QFileInfo(target).absolutePath();
    struct stat folderSt {};
    int err = keep.keep ? WriteDenied(target, keep.st) : 0;
    if (err == 0 && ::stat(Native(folder).constData(), &folderSt) == 0)
        err = WriteDenied(folder, folderSt);
    if (err != 0) {
        if (error)
            *error = ErrorText(err);
        return false;
    }
    RemoveStaleTemporaries(target);
    // The temporary lives beside the target so that the rename is atomic.
    QString temp;
    for (int attempt = 0;; ++attempt) {
        temp = FreshName(target, ".tmp-");
        if (WriteNewFile(temp, data, keep, err))
            break;
        if (err != EEXIST || attempt == 16) {
            if (error)
                *error = ErrorText(err);
            return false;
        }
    }
    if ((err = Injected(TFileStep::Rename, target)) != 0 || ::rename(Native(temp).constData(), Native(target).constData()) != 0) {
        if (err == 0)
            err = errno;
        ::unlink(Native(temp).constData());
        if (error)
            *error = ErrorText(err);
        return false;
    }
    SyncFolder(QFileInfo(target).absolutePath());
    return true;
}

bool ReplaceFolderAtomic(const QString& folder, const std::vector<std::pair<QString, QByteArray>>& files,
                         QString* error)
{
    const QFileInfo info(folder);
    const QString parent = info.absolutePath();
    const QString base = info.fileName();
    const QString path = QDir(parent).filePath(base);
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (info.exists() && !info.isDir())
        return fail(QStringLiteral("\"%1\" is not a folder").arg(QDir::toNativeSeparators(path)));
    // Only files are replaced: a folder standing under a file's name is someone's data.
    for (const auto& f : files) {
        const QFileInfo old(QDir(path).filePath(f.first));
        if (old.exists() && !old.isFile())
            return fail(QStringLiteral("\"%1\" is not a file and cannot be replaced")
                            .arg(QDir::toNativeSeparators(old.filePath())));
    }
    // A read-only folder, or a read-only file in it, is refused as a read-only file is; the new
    // folder takes the old one's mode and owner, and each new file those of the file it replaces.
    struct stat parentSt {};
    if (::stat(Native(parent).constData(), &parentSt) == 0) {
        if (const int denied = WriteDenied(parent, parentSt))
            return fail(ErrorText(denied));
    }
    TKeep keepFolder;
    keepFolder.keep = info.exists() && ::stat(Native(path).constData(), &keepFolder.st) == 0;
    if (keepFolder.keep) {
        if (const int denied = WriteDenied(path, keepFolder.st))
            return fail(ErrorText(denied));
    }
    std::vector<TKeep> keepFiles(files.size());
    for (size_t i = 0; i < files.size() && keepFolder.keep; ++i) {
        const QString old = QDir(path).filePath(files[i].first);
        keepFiles[i].keep = ::stat(Native(old).constData(), &keepFiles[i].st) == 0;
        if (!keepFiles[i].keep)
            continue;
        if (const int denied = WriteDenied(old, keepFiles[i].st))
            return fail(QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(old), ErrorText(denied)));
    }

    // What an interrupted earlier run left: a new set never swapped in, or an old set swapped out
    // and not yet removed. Neither is wanted any more.
    const QStringList leftovers =
        QDir(parent).entryList({base + QStringLiteral(".new-*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : leftovers)
        RemoveTree(QDir(parent).filePath(name));

    QString fresh;
    int err = 0;
    for (int attempt = 0;; ++attempt) {
        fresh = FreshName(path, ".new-");
        if ((err = Injected(TFileStep::MakeFolder, fresh)) == 0 && ::mkdir(Native(fresh).constData(), 0777) == 0)
            break;
        if (err == 0)
            err = errno;
        if (err != EEXIST || attempt == 16)
            return fail(ErrorText(err));
    }
    const auto abandon = [&](const QString& why) {
        RemoveTree(fresh);
        return fail(why);
    };
    if (keepFolder.keep) {
        const int fd = ::open(Native(fresh).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            KeepOwner(fd, keepFolder);
            (void)::fchmod(fd, keepFolder.st.st_mode & 07777);
            ::close(fd);
        }
    }

    QStringList names;
    for (const auto& f : files)
        names << f.first;
    QString why;
    if (info.exists() && !CopyTree(path, fresh, names, why))
        return abandon(why);
    for (size_t i = 0; i < files.size(); ++i) {
        const auto& f = files[i];
        const QString file = QDir(fresh).filePath(f.first);
        if (!WriteNewFile(file, f.second, keepFiles[i], err))
            return abandon(QStringLiteral("\"%1\": %2").arg(QDir::toNativeSeparators(QDir(path).filePath(f.first)),
                                                            ErrorText(err)));
    }
    SyncFolder(fresh);

    if (!QFileInfo::exists(path)) {
        if ((err = Injected(TFileStep::Rename, path)) != 0 || ::rename(Native(fresh).constData(), Native(path).constData()) != 0)
            return abandon(ErrorText(err != 0 ? err : errno));
        SyncFolder(parent);
        return true;
    }

    // The one step that makes the new set current: the two folders trade places.
    if ((err = Injected(TFileStep::Exchange, path)) == 0 &&
        ::renameat2(AT_FDCWD, Native(fresh).constData(), AT_FDCWD, Native(path).constData(), RENAME_EXCHANGE) != 0)
        err = errno;
    if (err == EINVAL || err == ENOSYS || err == ENOTSUP) {
        // A file system that cannot exchange: move the old folder aside and the new one in, and
        // put the old one back when the second move fails.
        const QString aside = FreshName(path, ".new-");
        err = 0;
        if ((err = Injected(TFileStep::Rename, path)) != 0 || ::rename(Native(path).constData(), Native(aside).constData()) != 0)
            return abandon(ErrorText(err != 0 ? err : errno));
        if ((err = Injected(TFileStep::Rename, fresh)) != 0 || ::rename(Native(fresh).constData(), Native(path).constData()) != 0) {
            if (err == 0)
                err = errno;
            ::rename(Native(aside).constData(), Native(path).constData());
            return abandon(ErrorText(err));
        }
        fresh = aside;
        err = 0;
    }
    if (err != 0)
        return abandon(ErrorText(err));
    SyncFolder(parent);
    // `fresh` now holds the old set. Should it stay behind, the next run removes it.
    RemoveTree(fresh);
    return true;
}

} // namespace platform
