#pragma once
// Every test that touches the registry works on its own file in a temporary folder.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

class RegistryFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("TORVANA_REGISTRY", path().toLocal8Bit());
    }
    void TearDown() override { qunsetenv("TORVANA_REGISTRY"); }
    QString path() const { return dir.filePath(QStringLiteral("registry")); }

    QTemporaryDir dir;
};
