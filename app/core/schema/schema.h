#pragma once
// The database schema (schema.sql) and the starter database a new installation begins with.
#include "dao/dao.h"

#include <QString>

namespace schema {

// The password the program opens its database with.
inline constexpr char kProgramPassword[] = "tq-3917-kfb";

// Creates the tables of schema.sql in an open, empty database.
void CreateTables(dao::Database &db);

// Creates a starter database at path: every table, the System record (catch year = this year),
// the member categories 1 "Mitglieder (aktiv)" and 2 "Mitglieder (passiv)", the group
// "Administratoren" with every right and the user "Verwalter" (password "angeln") in it.
// An existing file is never touched (vb::Error 3204); on any failure no file is left behind.
void CreateStarterDatabase(const QString &path);
// The same with another database password (a file the program's password does not open).
void CreateStarterDatabase(const QString &path, const QString &password);

} // namespace schema
