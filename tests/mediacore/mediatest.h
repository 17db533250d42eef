#pragma once

#include "fixture/mediafixture.h"
#include "media/core/soundfontsynth.h"
#include "support/cardtest.h"

#include <QFile>
#include <gtest/gtest.h>

// Media files written into a fresh temporary folder.
class MediaFolder {
public:
    QString write(const QString& name, const QByteArray& bytes) const {
        EXPECT_TRUE(m_files.writeFile(name, bytes));
        return m_files.path(name);
    }
    QString path(const QString& name) const { return m_files.path(name); }
    QString folder() const { return m_temp.path(); }

private:
    TempFolder m_temp;
    CardFixture m_files{m_temp.path()};
};

inline QString Q(const char* text) {
    return QString::fromUtf8(text);
}
