#include "data/QtDBEdit.h"

#include "base/QtUi.h"
#include "data/RecordSet.h"

QtDBEdit::QtDBEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textEdited, this, &QtDBEdit::userEdited);
}

QtDBEdit::~QtDBEdit() {
    bind(nullptr, std::string());
}

void QtDBEdit::bind(RecordSet* rows, const std::string& field) {
    if (m_rows)
        m_rows->unsubscribe(m_subscription);
    m_rows = rows;
    m_field = field;
    m_subscription = 0;
    if (!m_rows)
        return;
    m_subscription = m_rows->subscribe([this](RecordSet&) {
        if (!m_writing)
            refresh();
    });
    refresh();
}

void QtDBEdit::refresh() {
    if (!m_rows)
        return;
    QString shown;
    if (m_rows->active() && m_rows->hasField(m_field))
        shown = toQ(m_rows->text(m_field));
    if (shown != text())
        setText(shown);
}

void QtDBEdit::setFieldText(const QString& value) {
    if (value != text())
        setText(value);
    if (m_rows && m_rows->active() &&
        (m_rows->state() == RecordSet::State::Insert || m_rows->state() == RecordSet::State::Edit))
        writeField(value);
}

void QtDBEdit::userEdited(const QString& value) {
    if (!m_rows || !m_rows->active() || !m_rows->hasField(m_field))
        return;
    m_writing = true;
    // As a data-aware edit always did: the first keystroke puts the set into edit state, or into
    // insert state when there is no row to edit. Neither can fail on an open set.
    if (m_rows->state() == RecordSet::State::Browse) {
        if (m_rows->isEmpty())
            m_rows->insert();
        else
            m_rows->edit();
    }
    m_writing = false;
    writeField(value);
}

void QtDBEdit::writeField(const QString& value) {
    if (m_rows->hasField(m_field))
        m_rows->setField(m_field, fromQ(value));
}
