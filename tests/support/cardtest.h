#pragma once

#include "fixture/cardfixture.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

// A fresh temporary folder, removed with everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool isValid() const { return m_dir.isValid(); }
    // The folder's path, without a trailing separator.
    QString path() const { return m_dir.path(); }
    QString path(const QString& relative) const { return m_dir.path() + u'/' + relative; }

private:
    QTemporaryDir m_dir;
};

// Makes `locale` the default QLocale for the object's lifetime.
class ScopedDefaultLocale {
public:
    explicit ScopedDefaultLocale(const QLocale& locale);
    ~ScopedDefaultLocale();
    ScopedDefaultLocale(const ScopedDefaultLocale&) = delete;
    ScopedDefaultLocale& operator=(const ScopedDefaultLocale&) = delete;

private:
    QLocale m_saved;
};

// Sets (or, with a null value, unsets) an environment variable for the object's lifetime.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    QByteArray m_name;
    QByteArray m_saved;
    bool m_hadValue;
};

// The whole content of a file; empty when it cannot be read.
QByteArray ReadWholeFile(const QString& path);

// True when the process may bypass file permissions (root): permission tests are then
// checked in the direction that still holds.
bool RunningAsRoot();

// A test with a card root in a fresh temporary folder.
class CardRootTest : public ::testing::Test {
protected:
    CardRootTest() : m_card(m_temp.path()) {}

    // A song of `model` named "SONG"; a MICRO BR song also gets its SONGPRM.BR1.
    void addSong(const QString& folder, RecorderModel model) {
        ASSERT_TRUE(m_card.writeSongInfo(folder, SongInfoRecord::ForModel(model, "SONG", 2)));
        if (model == RecorderModel::MicroBR) {
            ASSERT_TRUE(m_card.writeSongParams(folder));
        }
    }

    TempFolder m_temp;
    CardFixture m_card;
};

// A recorder file image holding `bytes`, cut or padded with zeros to the image's size.
template <typename Image> Image ImageOf(const QByteArray& bytes) {
    Image image;
    std::copy_n(bytes.constData(), std::min<qsizetype>(bytes.size(), image.bytes.size()),
                reinterpret_cast<char*>(image.bytes.data()));
    return image;
}
