#include "app/support/recordingmessageboxes.h"

void RecordingMessageBoxes::show(QWidget* /*parent*/, MessageKind kind, const QString& text) {
    m_messages.append(Message{kind, text});
}
