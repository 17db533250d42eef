#pragma once

#include "app/messages.h"

#include <QList>

// Keeps each message instead of showing a box.
class RecordingMessageBoxes : public MessageBoxes {
public:
    struct Message {
        MessageKind kind;
        QString text;
        QString details = {};
    };

    void show(QWidget* /*parent*/, MessageKind kind, const QString& text) override {
        m_messages.append(Message{kind, text});
    }
    void showDetailed(QWidget* /*parent*/, MessageKind kind, const QString& text,
                      const QString& details) override {
        m_messages.append(Message{kind, text, details});
    }

    const QList<Message>& messages() const { return m_messages; }
    // True when exactly one message was shown, of this kind and with this text.
    bool only(MessageKind kind, const QString& text) const {
        return m_messages.size() == 1 && m_messages[0].kind == kind && m_messages[0].text == text;
    }
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
};
