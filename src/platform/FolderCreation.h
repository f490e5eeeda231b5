#pragma once

#include <string>

/// Creates a folder and every missing folder above it. Empty when the folder exists afterwards,
/// otherwise why not, as a sentence part for the operator ("permissão negada em /x").
std::string createFolderTree(const std::string& folder);
