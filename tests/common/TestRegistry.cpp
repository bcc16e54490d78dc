#include "TestRegistry.h"

#include <QApplication>
#include <QTest>
#include <memory>
#include <vector>

namespace {
struct Entry {
    const char* name;
    TestRegistry::Factory factory;
};
std::vector<Entry>& Entries() {
    static std::vector<Entry> entries;
    return entries;
}
} // namespace

int TestRegistry::Add(const char* name, Factory factory) {
    Entries().push_back({name, std::move(factory)});
    return static_cast<int>(Entries().size());
}

// Usage: test_<folder> [ClassName] [Qt Test options...]
int TestRegistry::RunAll(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    QString only;
    if (args.size() > 1 && !args.at(1).startsWith(QLatin1Char('-'))) {
        only = args.takeAt(1);
    }
    int failures = 0;
    int ran = 0;
    for (const Entry& entry : Entries()) {
        if (!only.isEmpty() && only != QLatin1String(entry.name)) {
            continue;
        }
        std::unique_ptr<QObject> test(entry.factory());
        failures += QTest::qExec(test.get(), args);
        ++ran;
    }
    if (ran == 0) {
        qWarning("no test class matched");
        return 1;
    }
    return failures;
}

int main(int argc, char** argv) {
    return TestRegistry::RunAll(argc, argv);
}
