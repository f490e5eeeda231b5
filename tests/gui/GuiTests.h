#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

/// Every Qt Test class registers a factory here (see PELOMIRA_GUI_TEST); GuiTestMain runs them all.
std::vector<std::function<std::unique_ptr<QObject>()>>& guiTestFactories();

struct GuiTestRegistration {
    explicit GuiTestRegistration(std::function<std::unique_ptr<QObject>()> factory) {
        guiTestFactories().push_back(std::move(factory));
    }
};

#define PELOMIRA_GUI_TEST(Class)                                                                                       \
    static GuiTestRegistration Class##Registration([] { return std::unique_ptr<QObject>(new Class); });
