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

    void show(QWidget* parent, MessageKind kind, const QString& text) override;
    void showDetailed(QWidget* parent, MessageKind kind, const QString& text,
                      const QString& details) override;

    const QList<Message>& messages() const { return m_messages; }
    void clear() { m_messages.clear(); }

private:
    QList<Message> m_messages;
};
