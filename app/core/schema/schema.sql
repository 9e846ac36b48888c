-- Tables of the Torvana database (tv01.mdb).
--
-- Keys: INTEGER PRIMARY KEY AUTOINCREMENT, so numbers are never used twice; record sets reach a
-- table's key through the index "PrimaryKey". Booleans are BOOLEAN (stored 0/1, any non-zero
-- reads as true). Dates are REAL OLE dates (days since 30 December 1899, 0 = no date). Hours
-- and amounts are REAL. Text columns compare case-insensitively (collation NOCASEDE), except
-- passwords, which compare exactly.
--
-- Dependent rows go with their parent (ON DELETE CASCADE): a group's users, the catches of a
-- fish species or a water, the contacts of a category, a contact's member record and work hours.
-- Stocking entries are not tied to their fish species and water: a plan entry outlives a deleted
-- species or water and then lists an empty name, so the plan of past years stays complete.

-- The club's settings: one record.
CREATE TABLE System (
    FJahr      INTEGER NOT NULL DEFAULT 0,
    JBeitrag   REAL    NOT NULL DEFAULT 0,
    PflichtStd REAL    NOT NULL DEFAULT 0,
    Verein     TEXT    COLLATE NOCASEDE DEFAULT '',
    Strasse    TEXT    COLLATE NOCASEDE DEFAULT '',
    PLZ        TEXT    COLLATE NOCASEDE DEFAULT '',
    Ort        TEXT    COLLATE NOCASEDE DEFAULT '',
    Tel        TEXT    COLLATE NOCASEDE DEFAULT ''
);

-- Base data: fish species and waters.
CREATE TABLE Fisch (
    FNr   INTEGER PRIMARY KEY AUTOINCREMENT,
    FName TEXT COLLATE NOCASEDE DEFAULT '',
    Notiz TEXT COLLATE NOCASEDE DEFAULT ''
);

CREATE TABLE Gewaesser (
    GNr   INTEGER PRIMARY KEY AUTOINCREMENT,
    GName TEXT COLLATE NOCASEDE DEFAULT '',
    Notiz TEXT COLLATE NOCASEDE DEFAULT ''
);

-- Groups with one right per program area, and the users who log in.
CREATE TABLE Gruppen (
    GNr                INTEGER PRIMARY KEY AUTOINCREMENT,
    GName              TEXT COLLATE NOCASEDE DEFAULT '',
    Fangbuch           BOOLEAN NOT NULL DEFAULT 0,
    Fangauswertung     BOOLEAN NOT NULL DEFAULT 0,
    KontUebers         BOOLEAN NOT NULL DEFAULT 0,
    KontListe          BOOLEAN NOT NULL DEFAULT 0,
    Kontakt            BOOLEAN NOT NULL DEFAULT 0,
    Arbeit             BOOLEAN NOT NULL DEFAULT 0,
    Besatz             BOOLEAN NOT NULL DEFAULT 0,
    Basis              BOOLEAN NOT NULL DEFAULT 0,
    Benutzerverwaltung BOOLEAN NOT NULL DEFAULT 0,
    System             BOOLEAN NOT NULL DEFAULT 0
);

-- Login compares Name and Passwort exactly (Name = ? COLLATE BINARY).
CREATE TABLE Benutzer (
    BNr      INTEGER PRIMARY KEY AUTOINCREMENT,
    Name     TEXT COLLATE NOCASEDE DEFAULT '',
    Passwort TEXT DEFAULT '',
    GNr      INTEGER NOT NULL REFERENCES Gruppen (GNr) ON DELETE CASCADE
);
CREATE INDEX Benutzer_GNr ON Benutzer (GNr);

-- Contact categories; 1 and 2 are the two member categories.
CREATE TABLE Katego (
    KategoNr  INTEGER PRIMARY KEY AUTOINCREMENT,
    Kategorie TEXT COLLATE NOCASEDE DEFAULT ''
);

-- Contacts, each in one category; a contact of category 1 or 2 is a member and has a Mitglied
-- record. A missing birth date is 0.
CREATE TABLE Kontakt (
    KNr            INTEGER PRIMARY KEY AUTOINCREMENT,
    KategoNr       INTEGER NOT NULL REFERENCES Katego (KategoNr) ON DELETE CASCADE,
    Anrede         TEXT COLLATE NOCASEDE DEFAULT '',
    Nachname       TEXT COLLATE NOCASEDE DEFAULT '',
    Vorname        TEXT COLLATE NOCASEDE DEFAULT '',
    Strasse        TEXT COLLATE NOCASEDE DEFAULT '',
    PLZ            TEXT COLLATE NOCASEDE DEFAULT '',
    Ort            TEXT COLLATE NOCASEDE DEFAULT '',
    Tel1           TEXT COLLATE NOCASEDE DEFAULT '',
    Tel2           TEXT COLLATE NOCASEDE DEFAULT '',
    Mobil          TEXT COLLATE NOCASEDE DEFAULT '',
    Fax            TEXT COLLATE NOCASEDE DEFAULT '',
    EMail          TEXT COLLATE NOCASEDE DEFAULT '',
    Firma          TEXT COLLATE NOCASEDE DEFAULT '',
    GebDatum       REAL DEFAULT 0,
    Bankeinzug     BOOLEAN NOT NULL DEFAULT 0,
    BLZ            TEXT COLLATE NOCASEDE DEFAULT '',
    KreditInstitut TEXT COLLATE NOCASEDE DEFAULT '',
    KontoNr        TEXT COLLATE NOCASEDE DEFAULT '',
    Notiz          TEXT COLLATE NOCASEDE DEFAULT ''
);
-- The overview lists a category's contacts; the search looks for the beginning of a surname,
-- first name or firm.
CREATE INDEX Kontakt_KategoNr ON Kontakt (KategoNr);
CREATE INDEX Kontakt_Nachname ON Kontakt (Nachname);
CREATE INDEX Kontakt_Vorname ON Kontakt (Vorname);
CREATE INDEX Kontakt_Firma ON Kontakt (Firma);

-- The member data of a contact in category 1 or 2; its key is the contact's KNr.
CREATE TABLE Mitglied (
    KNr        INTEGER PRIMARY KEY REFERENCES Kontakt (KNr) ON DELETE CASCADE,
    Geschlecht BOOLEAN NOT NULL DEFAULT 0,
    Befreit    BOOLEAN NOT NULL DEFAULT 0,
    Bezahlt    BOOLEAN NOT NULL DEFAULT 0,
    Eintritt   REAL DEFAULT 0,
    Austritt   REAL DEFAULT 0,
    JG         BOOLEAN NOT NULL DEFAULT 0
);

-- Catch log: catches per year and month (weight in grams).
CREATE TABLE Fang (
    FangNr    INTEGER PRIMARY KEY AUTOINCREMENT,
    FangJahr  INTEGER NOT NULL,
    FangMonat INTEGER NOT NULL,
    FischNr   INTEGER NOT NULL REFERENCES Fisch (FNr) ON DELETE CASCADE,
    GNr       INTEGER NOT NULL REFERENCES Gewaesser (GNr) ON DELETE CASCADE,
    Notiz     TEXT COLLATE NOCASEDE DEFAULT '',
    Anzahl    INTEGER DEFAULT 0,
    Gewicht   INTEGER DEFAULT 0
);
CREATE INDEX Fang_JahrMonat ON Fang (FangJahr, FangMonat);
CREATE INDEX Fang_FischNr ON Fang (FischNr);
CREATE INDEX Fang_GNr ON Fang (GNr);

-- Stocking plan per year (quantity in kilograms).
CREATE TABLE Besatzung (
    BNr   INTEGER PRIMARY KEY AUTOINCREMENT,
    BJahr INTEGER NOT NULL,
    FNr   INTEGER NOT NULL,
    GNr   INTEGER NOT NULL,
    Zeit  TEXT COLLATE NOCASEDE DEFAULT '',
    Menge REAL DEFAULT 0
);
CREATE INDEX Besatzung_BJahr ON Besatzung (BJahr);
CREATE INDEX Besatzung_FNr ON Besatzung (FNr);
CREATE INDEX Besatzung_GNr ON Besatzung (GNr);

-- Work hours per member and work year.
CREATE TABLE Arbeit (
    ArbNr  INTEGER PRIMARY KEY AUTOINCREMENT,
    KNr    INTEGER NOT NULL REFERENCES Kontakt (KNr) ON DELETE CASCADE,
    Jahr   INTEGER NOT NULL,
    Datum  REAL DEFAULT 0,
    ArbStd REAL DEFAULT 0,
    Notiz  TEXT COLLATE NOCASEDE DEFAULT ''
);
CREATE INDEX Arbeit_KNrJahr ON Arbeit (KNr, Jahr);
-- The year lists' first and last work year.
CREATE INDEX Arbeit_Jahr ON Arbeit (Jahr);

-- Print tables: each holds the rows of the last print-out of its kind, in the order written.
-- A column without a type keeps a value as it was given (text, number or date).
CREATE TABLE Druck_Fangliste (
    FangNr   INTEGER,
    Name     TEXT,
    Gewässer TEXT,
    Monat    TEXT,
    FangJahr INTEGER,
    Anzahl   INTEGER,
    Gewicht  INTEGER
);

CREATE TABLE Druck_Besatzliste (
    BNr   TEXT,
    FName TEXT,
    GName TEXT,
    Zeit  TEXT,
    Menge TEXT
);

CREATE TABLE Druck_ArbListe (
    ArbNr  INTEGER,
    GelStd,
    Datum
);

-- The date of birth is kept as the list shows it: a date as "dd.MM.yyyy", none as ''.
CREATE TABLE Druck_MitglList (
    KontaktNr INTEGER,
    Nachname  TEXT,
    Vorname   TEXT,
    Strasse   TEXT,
    PLZ       TEXT,
    Ort       TEXT,
    Tel       TEXT,
    GebDatum  TEXT
);

CREATE TABLE Druck_ArbStd (
    KontaktNr INTEGER,
    Nachname  TEXT,
    Vorname   TEXT,
    PflStd,
    GelStd,
    SollHaben
);
