#pragma once

#include <QString>

class QWidget;

enum class MessageKind { Plain, Information, Warning, Error };

// Modal message boxes with one OK button and the program's title as caption. The windows
// show every user-facing message through this hook, so that tests can record the messages
// instead of blocking on a box.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // Shows the text and returns when the user has closed the box. Lines break at "\r\n",
    // "\r" or "\n"; a leading "\r" shows as an empty first line.
    virtual void show(QWidget* parent, MessageKind kind, const QString& text) = 0;
    // The same with details the user can unfold (one item per line); an empty `details`
    // shows as show() does.
    virtual void showDetailed(QWidget* parent, MessageKind kind, const QString& text,
                              const QString& details) {
        (void)details;
        show(parent, kind, text);
    }

    void plain(QWidget* parent, const QString& text) { show(parent, MessageKind::Plain, text); }
    void information(QWidget* parent, const QString& text) {
        show(parent, MessageKind::Information, text);
    }
    void warning(QWidget* parent, const QString& text) { show(parent, MessageKind::Warning, text); }
    void error(QWidget* parent, const QString& text) { show(parent, MessageKind::Error, text); }
};

// The real boxes (QMessageBox).
class QtMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget* parent, MessageKind kind, const QString& text) override;
    void showDetailed(QWidget* parent, MessageKind kind, const QString& text,
                      const QString& details) override;
};

// The text as a box shows it: every "\r\n" and lone "\r" becomes "\n".
QString MessageDisplayText(const QString& text);
