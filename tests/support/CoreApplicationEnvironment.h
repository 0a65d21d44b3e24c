// Unit tests of objects that run timers need an application object; this
// makes one for the whole test program. Include it in one file of the test.
#pragma once

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

namespace tenlog::testing {

class CoreApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "tenlog_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QCoreApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QCoreApplication> m_app;
};

[[maybe_unused]] inline ::testing::Environment* const kCoreApplication =
    ::testing::AddGlobalTestEnvironment(new CoreApplicationEnvironment);

} // namespace tenlog::testing
