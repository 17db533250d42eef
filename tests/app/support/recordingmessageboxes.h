#pragma once

#include "app/messages.h"

#include <QList>
#include <QStringList>

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
    bool only(MessageKind kind, const QString& text) const { return onlyText(kind) == text; }
    // The text of the one message shown when it is of this kind; "<none>" otherwise.
    QString onlyText(MessageKind kind) const {
        return m_messages.size() == 1 && m_messages[0].kind == kind ? m_messages[0].text
                                                                    : QStringLiteral("<none>");
    }
    // The texts of the messages shown so far, in order; one of another kind reads "<other kind>".
    QStringList texts(MessageKind kind) const {
        QStringList all;
        for (const Message& message : m_messages)
            all.append(message.kind == kind ? message.text : QStringLiteral("<other kind>"));
        return all;
    }
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
};
