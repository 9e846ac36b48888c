// Writes keys into the registry named by TORVANA_REGISTRY, as a second process does while the
// tests write too: registry_writer <name> <count> writes HKCU\Writers\<name>\<i> for i < count,
// every second one in a batch of three values (as a registration does), the others one by one.
#include "com/registry.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const QString name = QString::fromLocal8Bit(argv[1]);
    const int count = std::atoi(argv[2]);
    using namespace com::reg;
    for (int i = 0; i < count; ++i) {
        const QString key = QStringLiteral("Writers\\%1\\%2").arg(name).arg(i);
        if (i % 2 == 0) {
            Batch batch;
            if (writeString(Hive::CurrentUser, key, QString(), name) != ERROR_SUCCESS ||
                writeString(Hive::CurrentUser, key, QStringLiteral("Nr"), QString::number(i)) != ERROR_SUCCESS ||
                writeValue(Hive::CurrentUser, key, QStringLiteral("Flags"), Value::dword(DWORD(i))) != ERROR_SUCCESS ||
                batch.commit() != ERROR_SUCCESS) {
                std::fprintf(stderr, "batch %d failed\n", i);
                return 1;
            }
        } else if (writeString(Hive::CurrentUser, key, QString(), name) != ERROR_SUCCESS) {
            std::fprintf(stderr, "write %d failed\n", i);
            return 1;
        }
    }
    return 0;
}
