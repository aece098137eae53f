#pragma once

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

// The whole content of an existing file, mapped into memory, or read where
// the system cannot map it. Another program may cut the file short while
// it is mapped; the bytes past its new end then read as zeros instead of
// ending the program, and CutShort() says so.
class FileContent
{
public:
    explicit FileContent(const QString& path);
    ~FileContent();
    FileContent(const FileContent&) = delete;
    FileContent& operator=(const FileContent&) = delete;

    QByteArrayView Bytes() const { return m_bytes; }
    bool CutShort() const;

private:
    QByteArrayView m_bytes;
    void* m_mapping = nullptr;
    QByteArray m_read;
};

// A file that replaces the one at path only once it is completely written:
// the bytes go to a new file beside it, which takes its place in Commit(),
// with the replaced file's permissions. A failed save so leaves an existing
// file as it was, and its new file is removed. A path that names a device
// is written directly.
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

    QString m_shownPath;
    QByteArray m_target;    // the file replaced, links followed
    QByteArray m_temporary; // empty when writing directly
    int m_fd = -1;
    int m_mode = -1; // of the replaced file, or -1 for a new one
    qint64 m_written = 0;
};
