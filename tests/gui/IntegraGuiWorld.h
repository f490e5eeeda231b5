#pragma once

#include "ShellWorld.h"
#include "data/IntegraSchema.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>

/// A window-test world with an embedded Integra database of its own (made from the program's schema),
/// the registry toolbar's glyphs in the program folder and the transformation files in ArqTransform.
struct IntegraGuiWorld : ShellWorld {
    std::string location = env.path("INTEGRA.FDB");
    IntegraDatabase side; // a second connection, to look at the database behind the windows' back

    explicit IntegraGuiWorld(bool withImages = true) {
        IntegraDatabase::create(location, integraSchemaSql(), false);
        dm.sqlConIntegra.setDatabase(location);
        side.setDatabase(location);
        if (withImages)
            std::filesystem::copy(TestEnv::shareFolder() + "/images", env.home() + "Images",
                                  std::filesystem::copy_options::recursive);
        settings.write(Settings::Dados, Settings::KeyArqTransform, TestEnv::shareFolder() + "/xtr");
    }

    void sql(const std::string& statement) { side.execute(statement); }
    /// The first column of every row of a query.
    std::vector<std::string> column(const std::string& query) {
        std::vector<std::string> values;
        for (const auto& row : side.query(query).rows)
            values.push_back(row.at(0).value_or("<null>"));
        return values;
    }
    void addRows(const std::string& table, const std::vector<std::pair<std::string, std::string>>& rows) {
        for (const auto& [code, description] : rows)
            sql("INSERT INTO " + table + " VALUES (" + IntegraDatabase::quote(code) + ", " +
                IntegraDatabase::quote(description) + ")");
    }
};

/// Runs action on the next modal window of type Window as soon as it is shown (the caller then
/// starts what opens it, which blocks until the window closes).
template <class Window> void whenModal(std::function<void(Window*)> action) {
    auto* timer = new QTimer;
    auto shared = std::make_shared<std::function<void(Window*)>>(std::move(action));
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, shared, tries] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window && ++*tries < 500)
            return;
        timer->stop();
        timer->deleteLater();
        if (window)
            (*shared)(window);
    });
    timer->start(10);
}
