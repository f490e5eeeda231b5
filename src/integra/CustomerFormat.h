#pragma once

#include <string>

class CustomerText;
class MerlinRequestDocument;
struct WalkContext;

/// One customer's file format: the names its integration uses and how its file becomes the invoices
/// and lines of a request document.
class CustomerFormat {
public:
    struct Names {
        const char* customer;    // "SAMSUNG": log texts, messages, the mapping's customer, the file name
        const char* codeKey;     // section Integra: the customer's Merlin entity code
        const char* defaultCode; // the entity code's first-run default (the settings write it)
        const char* folderKey;   // section Integra: the output folder
        const char* dialogTitle;
        const char* filter;
        const char* defaultExt;
    };

    virtual ~CustomerFormat() = default;
    virtual const Names& names() const = 0;
    /// The steps of the progress window for this file.
    virtual int progressSteps(const CustomerText& text) const = 0;
    /// Adds the file's invoices and lines to the document; returns the number of the last invoice
    /// written (it names the XML file). Throws AppError, naming the file line, for what cannot be read.
    virtual std::string build(const CustomerText& text, MerlinRequestDocument& doc, WalkContext& ctx) const = 0;

    static const CustomerFormat& samsung();
    static const CustomerFormat& synthes();
    static const CustomerFormat& honeywell();
    /// By customer name, without regard to case ("samsung"); nullptr for any other.
    static const CustomerFormat* byName(const std::string& name);
};
