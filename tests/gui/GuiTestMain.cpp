// Runs every registered Qt Test class under one QApplication (QT_QPA_PLATFORM=offscreen).
#include "gui/GuiTests.h"

#include <QApplication>
#include <QTest>

std::vector<std::function<std::unique_ptr<QObject>()>>& guiTestFactories() {
    static std::vector<std::function<std::unique_ptr<QObject>()>> factories;
    return factories;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int failed = 0;
    for (const auto& make : guiTestFactories()) {
        auto test = make();
        failed += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
    }
    return failed == 0 ? 0 : 1;
}
