#pragma once
// A database file in a temporary folder of its own, for the tests of the data layer and of the
// schema. The fixture derives, lays out and opens db at path in its SetUp; TearDown closes it.
#include "dao/dao.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>
#include <gtest/gtest.h>

namespace daotest {

class DatenbankTest : public ::testing::Test
{
protected:
    void TearDown() override { db.Close(); }

    // The first column of the first row of a query on db.
    long long count(dao::Sql sql, const QVariantList &params = {})
    {
        dao::Recordset rs = db.OpenRecordset(sql, dao::dbOpenDynaset, params);
        return rs(0).Value().toLongLong();
    }

    QTemporaryDir dir;
    QString path;
    dao::Database db;
};

} // namespace daotest
