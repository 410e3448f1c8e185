#pragma once

#include <QTest>

#include "desktop/toolkit/TApplication.h"

// QTEST_MAIN with the program's own application object, for tests that need its guard.
#define TAVO_TEST_MAIN(TestObject)                 \
    int main(int argc, char* argv[]) {             \
        TApplication application(argc, argv);      \
        application.setAttribute(Qt::AA_Use96Dpi); \
        TestObject test;                           \
        QTEST_SET_MAIN_SOURCE_PATH                 \
        return QTest::qExec(&test, argc, argv);    \
    }
