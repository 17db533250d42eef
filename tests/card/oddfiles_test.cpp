// Card files that are not regular files: FIFOs, sockets and links to device nodes read as
// missing files and never block.

#include "card/fileimage.h"
#include "card/songtitle.h"
#include "card/sovinfo.h"
#include "card/trackusage.h"
#include "support/cardtest.h"
#include "support/finishes.h"
#include "transfer/carddump.h"

#include <QFile>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

enum class Node { Fifo, Socket, LinkToZero, LinkToRandom };

bool MakeNode(const QString& path, Node node) {
    const QByteArray name = QFile::encodeName(path);
    switch (node) {
    case Node::Fifo:
        return ::mkfifo(name.constData(), 0600) == 0;
    case Node::Socket: {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (fd < 0 || static_cast<std::size_t>(name.size()) >= sizeof address.sun_path)
            return false;
        std::copy_n(name.constData(), name.size(), address.sun_path);
        const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return bound;
    }
    case Node::LinkToZero:
        return QFile::link(QStringLiteral("/dev/zero"), path);
    case Node::LinkToRandom:
        return QFile::link(QStringLiteral("/dev/urandom"), path);
    }
    return false;
}

const char* NodeName(Node node) {
    switch (node) {
    case Node::Fifo:
        return "FIFO";
    case Node::Socket:
        return "socket";
    case Node::LinkToZero:
        return "link to /dev/zero";
    case Node::LinkToRandom:
        return "link to /dev/urandom";
    }
    return "?";
}

constexpr Node kNodes[] = {Node::Fifo, Node::Socket, Node::LinkToZero, Node::LinkToRandom};

class OddFilesTest : public CardRootTest {
protected:
    // A song with every file of its own, then `file` replaced by `node`.
    bool makeCard(const QString& songFile, Node node) {
        if (!m_card.writeSongInfo(QStringLiteral("SONG001.BR0"),
                                  SongInfoRecord::ForModel(RecorderModel::BR864, "ODD", 2)) ||
            !m_card.writeDiskInfo(QByteArray(56, 'd')) ||
            !m_card.writeCardParams(QByteArray(140, 'p')))
            return false;
        for (const char* name : {"arrange2.br0", "pattern.br0", "effects2.br0", "TAKE_EVT.BR0"}) {
            if (!m_card.writeSongFile(QStringLiteral("SONG001.BR0"), QString::fromLatin1(name),
                                      QByteArray(64, 'x')))
                return false;
        }
        const QString path = m_card.path(songFile);
        QFile::remove(path);
        return MakeNode(path, node);
    }
};

} // namespace

// Each file the program reads from a card, in turn replaced by each kind of node: loading the
// folder, the details and the dump finishes, and the node reads as a missing file.
TEST_F(OddFilesTest, NodesReadAsMissingFilesWithoutBlocking) {
    const QString song = QStringLiteral("Roland/BR0/SONG001.BR0/");
    const QString files[] = {
        song + QStringLiteral("arrange2.br0"),   song + QStringLiteral("pattern.br0"),
        song + QStringLiteral("effects2.br0"),   song + QStringLiteral("TAKE_EVT.BR0"),
        song + QStringLiteral("songinf2.br0"),   song + QStringLiteral("SongInfo.dat"),
        song + QStringLiteral("Notes.txt"),      QStringLiteral("Roland/BR0/diskinf2.br0"),
        QStringLiteral("Roland/BR0/cardprm.br1")};
    for (const QString& file : files) {
        for (const Node node : kNodes) {
            SCOPED_TRACE(file.toStdString() + " as " + NodeName(node));
            TempFolder temp;
            CardFixture card(temp.path());
            m_card = card;
            ASSERT_TRUE(makeCard(file, node));
            const QString root = temp.path();
            ExpectFinishesWithin(10, [&] {
                SOV_Info info;
                info.LoadFolder(root);
                const QString songPath = info.songPath();
                const CardDumpBytes dump = ReadCardDumpBytes(root);
                const TrackUsage usage = LoadTrackUsage(songPath + QStringLiteral("TAKE_EVT.BR0"));
                const bool title = ReadSongTitle(songPath).isEmpty();
                const bool notes = LoadSongNotes(songPath).isEmpty();
                // The node is not written through either.
                const bool renamed = info.WriteSongName(QStringLiteral("NEW"));
                const bool infoIsNode = file.endsWith(QStringLiteral("songinf2.br0"));
                return info.songs().size() == 1 && title && notes && !usage.isUsed(0, 0) &&
                       renamed == !infoIsNode &&
                       (infoIsNode ? info.songs()[0].name.isEmpty()
                                   : info.songs()[0].name == QStringLiteral("ODD     ")) &&
                       dump.diskInfo.has_value() == !file.endsWith(u"diskinf2.br0") &&
                       dump.cardParams.has_value() == !file.endsWith(u"cardprm.br1");
            });
        }
    }
}

TEST_F(OddFilesTest, HelpersRefuseEveryNodeAndReadRegularFiles) {
    ASSERT_TRUE(m_card.writeFile(QStringLiteral("plain"), "abc"));
    ASSERT_TRUE(m_card.makeSymlink(QStringLiteral("link"), m_card.path(QStringLiteral("plain"))));
    EXPECT_TRUE(IsRegularFile(m_card.path(QStringLiteral("plain"))));
    EXPECT_TRUE(IsRegularFile(m_card.path(QStringLiteral("link"))));
    EXPECT_EQ(ReadWholeRegularFile(m_card.path(QStringLiteral("link")), 3), QByteArray("abc"));
    bool tooLarge = false;
    EXPECT_FALSE(ReadWholeRegularFile(m_card.path(QStringLiteral("plain")), 2, &tooLarge));
    EXPECT_TRUE(tooLarge);
    for (const Node node : kNodes) {
        SCOPED_TRACE(NodeName(node));
        const QString path = m_card.path(QString::fromLatin1(NodeName(node)).remove(u'/'));
        ASSERT_TRUE(MakeNode(path, node));
        ExpectFinishesWithin(10, [&] {
            QFile file;
            std::array<std::uint8_t, 4> image{};
            bool large = true;
            return !IsRegularFile(path) && !OpenRegularFile(file, path, QIODevice::ReadOnly) &&
                   !OpenRegularFile(file, path, QIODevice::ReadWrite) &&
                   ReadFileImage(path, image) == -1 && !ReadWholeRegularFile(path, 10, &large) &&
                   !large;
        });
    }
}
