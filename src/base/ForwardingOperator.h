#pragma once

#include "base/Operator.h"

/// An operator that passes every call on to another. A decorator derives from it and overrides only
/// what it adds (noting what a run told the person, say), so a new call of the seam needs one line here
/// and none in the decorators.
class ForwardingOperator : public Operator {
public:
    explicit ForwardingOperator(Operator& inner) : m_inner(inner) {}

    void message(const std::string& text, const std::string& caption, MessageIcon icon) override {
        m_inner.message(text, caption, icon);
    }
    bool askYesNo(const std::string& text, const std::string& caption, MessageIcon icon) override {
        return m_inner.askYesNo(text, caption, icon);
    }
    int showMessage(const std::string& title, const std::string& text, const std::string& btn4, const std::string& btn3,
                    const std::string& btn2, const std::string& btn1) override {
        return m_inner.showMessage(title, text, btn4, btn3, btn2, btn1);
    }
    std::string openFile(const std::string& title, const std::string& filter, const std::string& ext) override {
        return m_inner.openFile(title, filter, ext);
    }
    std::string browseFolder(const std::string& title) override { return m_inner.browseFolder(title); }
    void progressOpen(int start, int total, const std::string& title) override {
        m_inner.progressOpen(start, total, title);
    }
    void progressStep(int current, int total, const std::string& text, bool advanceGauge) override {
        m_inner.progressStep(current, total, text, advanceGauge);
    }
    std::string progressText() const override { return m_inner.progressText(); }
    bool progressIsOpen() const override { return m_inner.progressIsOpen(); }
    void progressClose() override { m_inner.progressClose(); }
    void waitOpen() override { m_inner.waitOpen(); }
    void waitClose() override { m_inner.waitClose(); }
    void balloon(const std::string& text) override { m_inner.balloon(text); }
    void processEvents() override { m_inner.processEvents(); }
    bool codeMappingPrompt(const std::string& customer, const std::string& registry,
                           const std::string& customerCode) override {
        return m_inner.codeMappingPrompt(customer, registry, customerCode);
    }
    void openWithSystem(const std::string& file, const std::string& params, const std::string& workDir) override {
        m_inner.openWithSystem(file, params, workDir);
    }

protected:
    Operator& inner() { return m_inner; }

private:
    Operator& m_inner;
};
