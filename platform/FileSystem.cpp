#include "platform/FileSystem.h"

#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>

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

FileContent::FileContent(const QString& path)
{
    const QString shown = Shown(path);
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (native.isEmpty() || ::stat(native.constData(), &info) != 0) {
        if (native.isEmpty() || errno == ENOENT || errno == ENOTDIR)
            throw Failure(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(shown));
        ThrowFileFailure(shown, "kann nicht gelesen werden", errno);
    }
    if (!S_ISREG(info.st_mode))
        throw Failure(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(shown));
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        ThrowFileFailure(shown, "kann nicht gelesen werden", error);
    }
    const qsizetype size = qsizetype(info.st_size);
    // The pages of a file the system holds in its cache are mapped in one
    // go rather than one fault at a time.
    void* mapping = size > 0 ? ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0)
                             : MAP_FAILED;
    if (mapping != MAP_FAILED) {
        m_mapping = mapping;
        m_bytes = QByteArrayView(static_cast<const char*>(mapping), size);
        GuardMapping(mapping, size_t(size));
    } else {
        // Read to its end: files the system makes up as they are read say
        // they are empty.
        m_read.resize(std::max<qsizetype>(size, 65536));
        qsizetype done = 0;
        for (;;) {
            if (done == m_read.size())
                m_read.resize(done * 2);
            const ssize_t got = ::read(fd, m_read.data() + done, size_t(m_read.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                const int error = errno;
                ::close(fd);
                ThrowFileFailure(shown, "kann nicht gelesen werden", error);
            }
            if (got == 0)
                break;
            done += got;
        }
        m_read.truncate(done);
        m_bytes = m_read;
    }
    ::close(fd);
}

FileContent::~FileContent()
{
    if (!m_mapping)
        return;
    if (g_mapping.start == m_mapping)
        g_mapping.start = nullptr;
    ::munmap(m_mapping, size_t(m_bytes.size()));
}

bool FileContent::CutShort() const
{
    return m_mapping && g_mapping.start == m_mapping && g_mapping.cutShort;
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
    if (char* resolved = ::realpath(m_target.constData(), nullptr)) {
        m_target = resolved;
        std::free(resolved);
    }
    struct stat info;
    if (::stat(m_target.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            ThrowNotWritten(EISDIR);
        if (!S_ISREG(info.st_mode)) {
            // A device or a pipe cannot be replaced, only written to. Not
            // waiting for a reader of a pipe keeps the window responsive.
            m_fd = ::open(m_target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
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

    // Created with the permissions the user's umask gives a new file.
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_temporary = m_target + '.';
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
