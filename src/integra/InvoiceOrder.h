#pragma once

#include <string_view>
#include <vector>

/// The order in which the records of a customer file become invoice lines: the records of the first
/// invoice key in file order, then those of the second key (keys in order of first appearance), and
/// so on, then every record whose key is empty. keys[i] is the key of record i; the result holds each
/// record index once.
std::vector<size_t> orderByInvoice(const std::vector<std::string_view>& keys);
