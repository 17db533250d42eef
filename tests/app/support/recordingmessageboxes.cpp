#include "app/support/recordingmessageboxes.h"

void RecordingMessageBoxes::show(QWidget* /*parent*/, MessageKind kind, const QString& text) {
    m_messages.append(Message{kind, text});
}

void RecordingMessageBoxes::showDetailed(QWidget* /*parent*/, MessageKind kind, const QString& text,
                                         const QString& details) {
    m_messages.append(Message{kind, text, details});
}
