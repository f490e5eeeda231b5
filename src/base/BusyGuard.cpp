#include "base/BusyGuard.h"

std::vector<std::string>& BusyGuard::running() {
    // One UI thread: a plain list is enough.
    static std::vector<std::string> names;
    return names;
}

BusyGuard::BusyGuard(std::string operation) {
    running().push_back(std::move(operation));
}

BusyGuard::~BusyGuard() {
    running().pop_back();
}

bool BusyGuard::busy() {
    return !running().empty();
}

std::string BusyGuard::operation() {
    return running().empty() ? std::string() : running().front();
}
