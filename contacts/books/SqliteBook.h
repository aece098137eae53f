#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>

// Reading the SQLite databases of other programs' address books without
// ever writing them, holding them locked for long or leaving files beside
// them. Every failure is a Failure whose description is the German reason
// (locked, damaged, of an unknown kind, unreadable).

enum class SqliteAccess {
    // Opened read-only where it is, for a database whose program writes in
    // short transactions. A journal left behind by a crashed writer makes
    // that fail; then a private copy of both is read, which rolls the copy
    // back to the last complete write.
    InPlace,
    // A private copy of the database and its write-ahead log, for a
    // database its program holds locked while it runs and whose newest
    // data may sit only in the log.
    PrivateCopy,
};

// Opens the database, runs `read` in one transaction and closes it again.
void ReadSqliteBook(const QString& file, SqliteAccess access, const std::function<void(const QSqlDatabase&)>& read);

// Runs one statement for `read`, ready to step through its rows.
QSqlQuery RunSql(const QSqlDatabase& database, const QString& statement);
