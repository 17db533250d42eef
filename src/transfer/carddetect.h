#pragma once

#include "card/recordermodel.h"
#include "platform/drives.h"

#include <QChar>
#include <QString>
#include <cstdint>

// Recognises a recorder's memory card by the volume label the recorder gave it, finds it
// among the drive letters and keeps the facts of the drive examined last. The main window
// owns the widgets; everything it shows or decides about drives and cards comes from here.

// The facts of the drive examined last by CardDetector::ReadCardInfo.
struct CardInfo {
    QString driveRoot;   // "E:/": the letter, a colon and the native separator
    QString driveType;   // "Removable Drive" or "Non-removable Drive"
    QString volumeLabel; // at most 256 characters; "xxxx" when it cannot be read
    std::uint64_t totalMB = 0;
    RecorderModel labelModel = RecorderModel::None;
};

// The texts of the card panel's size labels (lblCF_Size, lblCF_Used, lblCF_Free).
struct CardSpaceTexts {
    QString size;
    QString used;
    QString free;
};

// What the card panel shows for the current folder's drive.
struct CardPanel {
    RecorderModel cardModel = RecorderModel::None; // for SOV_Info::setCardModel
    CardSpaceTexts space;
    QString brType; // lblBRType
};

// Shown while a card search runs (the busy cursor); end() restores what was shown before.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void begin() = 0;
    virtual void end() = 0;
};

// The label standing for a label that could not be read; it matches no card.
QString UnreadableVolumeLabel();
// The warning of a drive selector set to a drive that is not ready.
QString NoDiscInDriveText();
// The warning of "Go to BR Memory Card" when no card is found.
QString CardNotDetectedText();
// lblBRType: "BR-864 card", "Micro BR card", ...; empty for RecorderModel::None.
QString CardTypeText(RecorderModel model);
// The drive selector's text of a drive: "E: [BOSS_BR-864]", or "E:" without a label.
QString DriveSelectorText(QChar letter, const QString& label);

// The result of "Go to BR Memory Card" up to the folder change.
struct GotoCardResult {
    QChar letter;    // the card's letter; QChar() when none was found
    QString root;    // the card's root folder (ending in '/'), for the folder tree
    QString warning; // CardNotDetectedText() when none was found
};

class CardDetector {
public:
    explicit CardDetector(DriveServices& drives) : m_drives(drives) {}

    DriveServices& drives() { return m_drives; }
    const CardInfo& cardInfo() const { return m_cardInfo; }
    // The letter of the card found by the last search; QChar() before any.
    QChar cardDriveLetter() const { return m_cardDriveLetter; }
    void setCardDriveLetter(QChar letter) { m_cardDriveLetter = letter; }
    // Shown during FindCard; nullptr for none. Not owned.
    void setBusyIndicator(BusyIndicator* indicator) { m_busy = indicator; }

    // True when the drive's free-space query succeeds. The drive is the letter of a "X:..."
    // path, the drive holding any other path, or the drive of the current folder for an
    // empty path.
    bool IsDriveReady(const QString& path);
    bool IsDriveReady(QChar letter);
    // The model named by the label of a removable drive; None for any other drive, for a
    // non-letter and when the label cannot be read. Leaves cardInfo() unchanged.
    RecorderModel GetCardModel(QChar letter);
    // Fills cardInfo() for the drive. False (cardInfo() unchanged) when the letter is not a
    // letter or the drive has no volume or no medium.
    bool ReadCardInfo(QChar letter);
    // The lowest letter from D to Z holding a ready removable drive with a card label;
    // QChar() when none. Leaves cardInfo() describing the last drive examined.
    QChar FindCard();
    // The card model of the drive holding `folder` (GetCardModel of that drive).
    RecorderModel DetectCardModel(const QString& folder);
    // The size texts of the drive holding `folder`, each FormatSizeText in the automatic
    // unit; empty texts when the drive's size cannot be read.
    CardSpaceTexts CardSpaceLabels(const QString& folder);

    // Start-up: searches for a card, remembers its letter, and returns the folder the tree
    // opens first: the card's root, else `defaultFolder`.
    QString StartupFolder(const QString& defaultFolder);
    // The drive selector moved to `letter`: when the drive is ready the window opens it in
    // the folder tree and then calls DriveSelected; otherwise it shows NoDiscInDriveText()
    // and sets the selector back to the folder tree's drive.
    bool DriveSelectorChange(QChar letter) { return IsDriveReady(letter); }
    // After the folder tree moved to drive `letter`, now showing `folder`: reads the
    // drive's card facts and returns the card panel of the folder's drive.
    CardPanel DriveSelected(QChar letter, const QString& folder);
    // The card panel of the drive holding `folder` without reading its card facts again
    // (start-up, after the folder tree opened its first folder).
    CardPanel PanelFor(const QString& folder);
    // "Go to BR Memory Card" (GotoZOZuzezo1Click): keeps the card found last while it is
    // still a card, else searches again. With a card the window opens `root`, sets the
    // drive selector to it and rebuilds the drive list; otherwise it shows `warning`.
    GotoCardResult GotoCard();

private:
    DriveServices& m_drives;
    CardInfo m_cardInfo;
    QChar m_cardDriveLetter;
    BusyIndicator* m_busy = nullptr;
};
