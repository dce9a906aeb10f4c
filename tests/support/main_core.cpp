#include <gtest/gtest.h>

#include <QCoreApplication>

// Suites run on the thread that owns a QCoreApplication, so main-thread hand-offs can be pumped.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
