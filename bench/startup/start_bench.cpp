// From the program's start to its login window painted, beside a bare dialog with the login's
// fields painted: each a program of its own (probe_login.cpp, probe_dialog.cpp), started anew
// for every run, so that its libraries are linked and loaded, its application, windows and
// control libraries made as at a real start. The time counted is the process's processor time
// (user and system, from its start to its end at the first paint), its wall time beside it.
#include "core/testing/program_folder.h"

#include "com/object.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Registers the control libraries in a registry of the run, in a process of its own, so that
// this process never loads them.
int registriere()
{
    for (const char *pfad : {TORVANA_NAVRAIL_LIBRARY, TORVANA_DATEEDIT_LIBRARY}) {
        void *lib = dlopen(pfad, RTLD_NOW | RTLD_LOCAL);
        auto reg = lib ? reinterpret_cast<PFN_DllRegisterServer>(dlsym(lib, "DllRegisterServer")) : nullptr;
        if (!reg || reg() != S_OK)
            return 5;
    }
    return 0;
}

struct Lauf
{
    bool ok = false;
    double cpu = 0;  // seconds
    double wand = 0; // seconds
};

// Runs kind in a forked child, which ends with its result; with programm, the child starts that
// program instead.
Lauf imKind(int (*kind)(), const char *programm = nullptr)
{
    Lauf l;
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (programm) {
            execl(programm, programm, static_cast<char *>(nullptr));
            _exit(6);
        }
        _exit(kind());
    }
    if (pid < 0)
        return l;
    int status = 0;
    rusage ru{};
    if (wait4(pid, &status, 0, &ru) != pid)
        return l;
    l.wand = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    l.cpu = double(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) + double(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) * 1e-6;
    l.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return l;
}

// The program started on a program folder with the starter database; the time reported is the
// program's processor time, x_floor its processor time over the dialog's, extra_ms the difference
// in milliseconds, x_floor_wall the same ratio of wall times.
void BM_StartBisLogin(benchmark::State &state)
{
    apptest::Programmordner ordner;
    ordner.richteEin();
    QTemporaryDir registry;
    qputenv("TORVANA_REGISTRY", QFile::encodeName(registry.filePath(QStringLiteral("registry"))));
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!imKind(registriere).ok) {
        state.SkipWithError("the control libraries do not register");
        return;
    }
    double cpuProgramm = 0, cpuBoden = 0, wandProgramm = 0, wandBoden = 0;
    for (auto _ : state) {
        const Lauf p = imKind(nullptr, TORVANA_PROBE_LOGIN);
        const Lauf b = imKind(nullptr, TORVANA_PROBE_DIALOG);
        if (!p.ok || !b.ok) {
            state.SkipWithError(p.ok ? "the dialog was not painted" : "the login was not painted");
            return;
        }
        state.SetIterationTime(p.cpu);
        cpuProgramm += p.cpu;
        cpuBoden += b.cpu;
        wandProgramm += p.wand;
        wandBoden += b.wand;
    }
    const double n = double(state.iterations());
    state.counters["x_floor"] = cpuBoden > 0 ? cpuProgramm / cpuBoden : 0;
    state.counters["extra_ms"] = (cpuProgramm - cpuBoden) / n * 1000;
    state.counters["floor_ms"] = cpuBoden / n * 1000;
    state.counters["x_floor_wall"] = wandBoden > 0 ? wandProgramm / wandBoden : 0;
}
BENCHMARK(BM_StartBisLogin)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    // No Qt application here: each start makes its own in a process of its own.
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
