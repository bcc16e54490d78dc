#pragma once

#include <QObject>
#include <functional>

// Every test class of a folder registers here; the folder's one test program runs them all.
namespace TestRegistry {
using Factory = std::function<QObject*()>;
int Add(const char* name, Factory factory);
int RunAll(int argc, char** argv);
} // namespace TestRegistry

#define HABITRA_TEST(Class)                                                                                  \
    static const int habitraRegistered##Class = TestRegistry::Add(#Class, [] { return new Class; });
