#include "platform/FileSystem.h"

#include "platform/Failure.h"
#include "platform/Memory.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ErrorText
{
    int number;
    const char* text;
};

const ErrorText ErrorTexts[] = {
    {EACCES, "Zugriff verweigert"},
    {EPERM, "Zugriff verweigert"},
    {ENOSPC, "Kein Speicherplatz mehr auf dem Gerät"},
    {EDQUOT, "Speicherplatzkontingent überschritten"},
    {EFBIG, "Datei zu groß"},
    {EROFS, "Schreibgeschütztes Dateisystem"},
    {ENOENT, "Datei oder Verzeichnis nicht gefunden"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Verzeichnis"},
    {EISDIR, "Ist ein Verzeichnis"},
    {EIO, "Ein-/Ausgabefehler"},
    {ENAMETOOLONG, "Dateiname zu lang"},
    {ELOOP, "Zu viele Ebenen symbolischer Verknüpfungen"},
    {EMFILE, "Zu viele offene Dateien"},
    {ENFILE, "Zu viele offene Dateien im System"},
    {ENOMEM, "Nicht genügend Speicher"},
    {ETXTBSY, "Die Datei wird gerade verwendet"},
    {EBUSY, "Gerät oder Ressource belegt"},
    {ENXIO, "Gerät oder Adresse nicht vorhanden"},
    {ENODEV, "Gerät nicht vorhanden"},
    {EXDEV, "Verschieben über Dateisystemgrenzen nicht möglich"},
    {ESTALE, "Die Datei ist auf dem Netzlaufwerk nicht mehr vorhanden"},
};

// The one mapping being read (the program opens one file at a time, on one
// thread), for the handler of the bus error the system raises when a page
// of it lies beyond the end of a file that was cut short.
struct GuardedMapping
{
    char* start = nullptr;
    size_t size = 0;
    uintptr_t pageSize = 4096;
    volatile sig_atomic_t cutShort = 0;
};
GuardedMapping g_mapping;
struct sigaction g_previousBusHandler;

void OnBusError(int signal, siginfo_t* info, void* context)
{
    char* const address = static_cast<char*>(info->si_addr);
    if (g_mapping.start && address >= g_mapping.start && address < g_mapping.start + g_mapping.size) {
        // Zeros in place of the lost pages; the read goes on and is refused
        // afterwards.
        char* const from = reinterpret_cast<char*>(uintptr_t(address) & ~(g_mapping.pageSize - 1));
        ::mmap(from, size_t(g_mapping.start + g_mapping.size - from), PROT_READ,
               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
        g_mapping.cutShort = 1;
        return;
    }
    // Any other bus error is what it always was.
    if (g_previousBusHandler.sa_flags & SA_SIGINFO)
        g_previousBusHandler.sa_sigaction(signal, info, context);
    else if (g_previousBusHandler.sa_handler != SIG_DFL && g_previousBusHandler.sa_handler != SIG_IGN)
        g_previousBusHandler.sa_handler(signal);
    else {
        ::signal(signal, SIG_DFL);
        ::raise(signal);
    }
}

void GuardMapping(void* start, size_t size)
{
    static const bool installed = [] {
        struct sigaction action = {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGBUS, &action, &g_previousBusHandler) == 0;
    }();
    Q_UNUSED(installed);
    g_mapping.cutShort = 0;
    g_mapping.pageSize = uintptr_t(::sysconf(_SC_PAGESIZE));
    g_mapping.size = size;
    g_mapping.start = static_cast<char*>(start);
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The text of a file's failure: "Die Datei "…" <what>: <why>."
[[noreturn]] void ThrowFileFailure(const QString& shownPath, const char* what, int errorNumber)
{
    throw Failure(QStringLiteral("Die Datei \"%1\" %2: %3.")
                      .arg(shownPath, QString::fromUtf8(what), SystemErrorText(errorNumber)));
}

}

QString SystemErrorText(int errorNumber)
{
    for (const ErrorText& known : ErrorTexts) {
        if (known.number == errorNumber)
            return QString::fromUtf8(known.text);
    }
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

namespace {

void (*g_fileContentHook)(const QString&) = nullptr;

// What a path names when it is not a regular file, in German; an empty
// text for a regular file.
QString NotAFile(const QString& shownPath, mode_t mode)
{
    if (S_ISREG(mode))
        return QString();
    if (S_ISDIR(mode))
        return QStringLiteral("\"%1\" ist ein Ordner, keine Datei.").arg(shownPath);
    const char* kind = S_ISFIFO(mode)   ? "eine Pipe"
                       : S_ISSOCK(mode) ? "ein Socket"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "ein Gerät"
                                                        : "etwas anderes";
    return QStringLiteral("\"%1\" ist keine Datei, sondern %2.").arg(shownPath, QString::fromUtf8(kind));
}

void CheckIsFile(const QString& shownPath, mode_t mode)
{
    const QString notAFile = NotAFile(shownPath, mode);
    if (!notAFile.isEmpty())
        throw Failure(notAFile);
}

// The lines of the file at fd, reckoned up from those of its first bytes.
double EstimatedLines(int fd, qint64 size)
{
    char sample[65536];
    const ssize_t got = ::pread(fd, sample, size_t(std::min<qint64>(size, qint64(sizeof sample))), 0);
    if (got <= 0)
        return 1;
    const qint64 breaks = std::max(std::count(sample, sample + got, '\n'), std::count(sample, sample + got, '\r'));
    return double(breaks + 1) * double(size) / double(got);
}

void CheckLimits(const QString& shownPath, int fd, qint64 size, const FileLimits& limits)
{
    if (limits.largest >= 0 && size > limits.largest)
        throw Failure(QStringLiteral("Die Datei \"%1\" ist zu groß.").arg(shownPath));
    if (limits.memoryFactor <= 0 && limits.memoryPerLine <= 0)
        return;
    const qint64 available = AvailableMemory();
    double needed = double(size) * limits.memoryFactor;
    if (limits.memoryPerLine > 0 && available >= 0)
        needed += EstimatedLines(fd, size) * limits.memoryPerLine;
    if (available >= 0 && needed > double(available)) {
        constexpr double MB = 1024.0 * 1024.0;
        throw Failure(QStringLiteral("Nicht genügend Speicher, um die Datei \"%1\" zu lesen: Sie braucht etwa %2 MB, "
                                     "verfügbar sind %3 MB.")
                          .arg(shownPath)
                          .arg(qint64(needed / MB) + 1)
                          .arg(qint64(double(available) / MB)));
    }
}

// Follows path's links to the path they end at, which need not exist: a
// dangling link leads to the file it names. 0, or the error number of a
// link that cannot be read or of too many links (a loop).
int FollowLinks(QByteArray& path)
{
    for (int links = 0;; ++links) {
        struct stat info;
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return 0;
        if (links >= 40)
            return ELOOP;
        QByteArray target(qsizetype(info.st_size > 0 ? info.st_size : PATH_MAX) + 1, Qt::Uninitialized);
        const ssize_t size = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (size < 0)
            return errno;
        if (size >= target.size())
            return ENAMETOOLONG;
        target.truncate(size);
        if (target.startsWith('/'))
            path = target;
        else
            path = path.left(path.lastIndexOf('/') + 1) + target;
    }
}

}

void SetFileContentHook(void (*hook)(const QString& path))
{
    g_fileContentHook = hook;
}

FileContent::FileContent(const QString& path, const FileLimits& limits) : m_shownPath(Shown(path))
{
    const QString& shown = m_shownPath;
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (native.isEmpty() || ::stat(native.constData(), &info) != 0) {
        if (native.isEmpty() || errno == ENOENT || errno == ENOTDIR)
            throw Failure(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(shown));
        ThrowFileFailure(shown, "kann nicht gelesen werden", errno);
    }
    CheckIsFile(shown, info.st_mode);
    // Not waiting for a writer should the path have become a pipe since.
    m_fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (m_fd < 0)
        ThrowFileFailure(shown, "kann nicht gelesen werden", errno);
    if (::fstat(m_fd, &info) != 0) {
        const int error = errno;
        ::close(std::exchange(m_fd, -1));
        ThrowFileFailure(shown, "kann nicht gelesen werden", error);
    }
    try {
        CheckIsFile(shown, info.st_mode);
        // Before anything is mapped or read, so that a file too large for
        // memory takes none.
        CheckLimits(shown, m_fd, qint64(info.st_size), limits);
    } catch (...) {
        ::close(std::exchange(m_fd, -1));
        throw;
    }
    const auto readFailed = [this, &shown](int error) {
        ::close(std::exchange(m_fd, -1));
        ThrowFileFailure(shown, "kann nicht gelesen werden", error);
    };
    const qsizetype size = qsizetype(info.st_size);
    // The pages of a large file the system holds in its cache are mapped in
    // one go rather than one fault at a time; a small one is copied faster
    // than it is mapped.
    constexpr qsizetype SmallFile = 64 * 1024;
    void* mapping = size > SmallFile
                        ? ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, m_fd, 0)
                        : MAP_FAILED;
    if (mapping != MAP_FAILED) {
        m_mapping = mapping;
        m_bytes = QByteArrayView(static_cast<const char*>(mapping), size);
        GuardMapping(mapping, size_t(size));
    } else {
        // Read to its end: files the system makes up as they are read say
        // they are empty.
        m_read.resize(std::max<qsizetype>(size + 1, SmallFile));
        qsizetype done = 0;
        for (;;) {
            if (done == m_read.size())
                m_read.resize(done * 2);
            const ssize_t got = ::read(m_fd, m_read.data() + done, size_t(m_read.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                readFailed(errno);
            if (got == 0)
                break;
            done += got;
            if (limits.largest >= 0 && done > limits.largest) {
                ::close(std::exchange(m_fd, -1));
                throw Failure(QStringLiteral("Die Datei \"%1\" ist zu groß.").arg(shown));
            }
        }
        m_readShort = done < size;
        m_read.truncate(done);
        m_bytes = m_read;
    }
    if (g_fileContentHook)
        g_fileContentHook(path);
}

FileContent::~FileContent()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_mapping)
        return;
    if (g_mapping.start == m_mapping)
        g_mapping.start = nullptr;
    ::munmap(m_mapping, size_t(m_bytes.size()));
}

bool FileContent::CutShort() const
{
    if (m_readShort)
        return true;
    if (m_mapping && g_mapping.start == m_mapping && g_mapping.cutShort)
        return true;
    // Cut within the last page of a mapping, the lost bytes read as zeros
    // without a bus error; the file's size still tells, as it does of a
    // copied file cut while it was read.
    struct stat info;
    return m_fd >= 0 && ::fstat(m_fd, &info) == 0 && qint64(info.st_size) < qint64(m_bytes.size());
}

void FileContent::ThrowIfCutShort() const
{
    if (CutShort())
        throw Failure(
            QStringLiteral("Die Datei \"%1\" wurde beim Lesen von einem anderen Programm gekürzt.").arg(m_shownPath));
}

ReplacingFile::ReplacingFile(const QString& path)
    : m_shownPath(Shown(path)), m_target(QFile::encodeName(path))
{
    // A write past the file-size limit (ulimit -f) would end the program
    // with SIGXFSZ and lose every open document; ignored, the write fails
    // with EFBIG and the save says so.
    static const bool fileSizeSignalIgnored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    Q_UNUSED(fileSizeSignalIgnored);

    if (m_target.isEmpty())
        ThrowFileFailure(m_shownPath, "kann nicht angelegt werden", ENOENT);
    // A link stays a link, to the saved file.
    const int linkError = FollowLinks(m_target);
    if (linkError != 0)
        ThrowNotWritten(linkError);
    struct stat info;
    if (::stat(m_target.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            ThrowNotWritten(EISDIR);
        if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))
            throw Failure(QStringLiteral("Die Datei \"%1\" kann nicht geschrieben werden: %2")
                              .arg(m_shownPath, NotAFile(m_shownPath, info.st_mode)));
        if (!S_ISREG(info.st_mode)) {
            // A device cannot be replaced, only written to.
            m_fd = ::open(m_target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            if (m_fd < 0)
                ThrowNotWritten(errno);
            ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
            return;
        }
        // Renaming replaces a write-protected file too; refuse as writing it
        // directly would.
        if (::access(m_target.constData(), W_OK) != 0)
            ThrowNotWritten(errno);
        m_mode = int(info.st_mode & 07777);
    }

    // Beside the target, named after it: as much of its name as leaves room
    // for the suffix within the longest name the system takes. Created
    // with the permissions the user's umask gives a new file.
    const qsizetype slash = m_target.lastIndexOf('/');
    const QByteArray folder = m_target.left(slash + 1);
    QByteArray stem = m_target.mid(slash + 1);
    long longestName = ::pathconf(folder.isEmpty() ? "." : folder.constData(), _PC_NAME_MAX);
    if (longestName <= 0)
        longestName = NAME_MAX;
    constexpr qsizetype SuffixSize = 7; // '.' and six letters
    if (stem.size() + SuffixSize > longestName)
        stem.truncate(qsizetype(longestName) - SuffixSize);
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = folder + stem + '.';
        for (int i = 0; i < 6; ++i)
            m_temporary += Letters[QRandomGenerator::global()->bounded(int(sizeof(Letters) - 1))];
        m_fd = ::open(m_temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST) {
            const int error = errno;
            m_temporary.clear();
            if (m_mode >= 0)
                ThrowNotWritten(error);
            ThrowFileFailure(m_shownPath, "kann nicht angelegt werden", error);
        }
    }
    if (m_fd < 0) {
        m_temporary.clear();
        ThrowFileFailure(m_shownPath, "kann nicht angelegt werden", EEXIST);
    }
}

ReplacingFile::~ReplacingFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_temporary.isEmpty())
        ::unlink(m_temporary.constData());
}

void ReplacingFile::Write(QByteArrayView bytes)
{
    const char* data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            ThrowNotWritten(errno);
        data += written;
        left -= written;
    }
#ifdef SYNC_FILE_RANGE_WRITE
    // The disk starts on what was written while the rest is made, so that
    // the wait for it in Commit() is short.
    if (!m_temporary.isEmpty())
        ::sync_file_range(m_fd, m_written, bytes.size(), SYNC_FILE_RANGE_WRITE);
#endif
    m_written += bytes.size();
}

void ReplacingFile::Commit()
{
    const bool replacing = !m_temporary.isEmpty();
    if (replacing) {
        if (m_mode >= 0)
            ::fchmod(m_fd, mode_t(m_mode));
        // On the disk before it takes the old file's place, so that a crash
        // leaves the old file or the new one, never an empty one.
        if (::fdatasync(m_fd) != 0)
            ThrowNotWritten(errno);
    }
    if (::close(std::exchange(m_fd, -1)) != 0 && errno != EINTR)
        ThrowNotWritten(errno);
    if (replacing) {
        if (::rename(m_temporary.constData(), m_target.constData()) != 0)
            ThrowNotWritten(errno);
        m_temporary.clear();
    }
}

void ReplacingFile::ThrowNotWritten(int errorNumber) const
{
    ThrowFileFailure(m_shownPath, "kann nicht geschrieben werden", errorNumber);
}
