#include "integra/InvoiceOrder.h"

#include <unordered_map>

std::vector<size_t> orderByInvoice(const std::vector<std::string_view>& keys) {
    std::unordered_map<std::string_view, size_t> groupOf;
    std::vector<std::vector<size_t>> groups;
    std::vector<size_t> unkeyed;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].empty()) {
            unkeyed.push_back(i);
            continue;
        }
        const auto [it, added] = groupOf.try_emplace(keys[i], groups.size());
        if (added)
            groups.emplace_back();
        groups[it->second].push_back(i);
    }
    std::vector<size_t> order;
    order.reserve(keys.size());
    for (const auto& g : groups)
        order.insert(order.end(), g.begin(), g.end());
    order.insert(order.end(), unkeyed.begin(), unkeyed.end());
    return order;
}
