#pragma once

#include "platform/TerminationSignals.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Files through the system's own calls: a file is read without being copied,
// and a failure says why, in German. Every failure is a Failure whose text
// names the file.

// What a failed call's error number means: "Zugriff verweigert",
// "Kein Speicherplatz mehr auf dem Gerät" and so on; the system's own text
// for a number without a German one here.
QString SystemErrorText(int errorNumber);

// What reading a file may cost: a larger file is refused, and so is one
// whose reading would need more memory than the system has available, so
// that the system does not end the program with every window open.
struct FileLimits
{
    qint64 largest = -1;     // bytes; -1 for no limit
    // The memory the read needs: this many times the file's size, and this
    // many bytes for each of its lines (counted in its first bytes and
    // reckoned up), as files of short records take the most. 0 and 0 for
    // no check.
    double memoryFactor = 0;
    double memoryPerLine = 0;
};

// The whole content of an existing regular file, mapped into memory, or
// read where the system cannot map it. Folders, devices, pipes and sockets
// are refused with a German text saying what they are. Another program may
// cut the file short while it is mapped; the bytes past its new end then
// read as zeros instead of ending the program, and CutShort() says so.
class FileContent
{
public:
    explicit FileContent(const QString& path, const FileLimits& limits = {});
    ~FileContent();
    FileContent(const FileContent&) = delete;
    FileContent& operator=(const FileContent&) = delete;

    QByteArrayView Bytes() const { return m_bytes; }
    bool CutShort() const;
    // For a reader done with the bytes: a Failure naming the file when it
    // was cut short, since what was read from it is then incomplete.
    void ThrowIfCutShort() const;

private:
    QString m_shownPath;
    QByteArrayView m_bytes;
    void* m_mapping = nullptr;
    QByteArray m_read;
    int m_fd = -1;
    bool m_readShort = false;
};

// Tests: called with the path of each file once FileContent holds its
// content, before anyone reads it; nullptr for none.
void SetFileContentHook(void (*hook)(const QString& path));

// A file that replaces the one at path only once it is completely written:
// the bytes go to a new file beside it, which takes its place in Commit(),
// with the replaced file's permissions. A failed save so leaves an existing
// file as it was, and its new file is removed. Links are followed to the
// file they name, which a dangling link so gets. A path that names a
// device is written directly; a pipe or a socket is refused, as writing it
// could block the program for good.
class ReplacingFile
{
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void Write(QByteArrayView bytes);
    void Commit();

private:
    [[noreturn]] void ThrowNotWritten(int errorNumber) const;

    TerminationShield m_shield; // no signal leaves the new file behind
    QString m_shownPath;
    QByteArray m_target;    // the file replaced, links followed
    QByteArray m_temporary; // empty when writing directly
    int m_fd = -1;
    int m_mode = -1; // of the replaced file, or -1 for a new one
    qint64 m_written = 0;
};
