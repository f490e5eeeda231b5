#pragma once

class QtOperator;
class TfrmPrincipal;
struct AppContext;

/// Connects the main window's commands to the windows and operations that exist, and plugs the
/// windows the operator seam needs (the code-mapping window) into the operator. Called once, right
/// after the main window is created. A command left out here stays disabled in the menu, the tool bar
/// and the hot keys.
void wireMainCommands(TfrmPrincipal& principal, QtOperator& op, AppContext& ctx);
