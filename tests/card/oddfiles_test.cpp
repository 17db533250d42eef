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

using namespace Qt::StringLiterals;

namespace {

enum class Node { Fifo, Socket, LinkToZero, LinkToRandom };

bool MakeNode(const QString& path, Node node) {
    const QByteArray name = QFile::encodeName(path);
    if (node == Node::Fifo)
        return ::mkfifo(name.constData(), 0600) == 0;
    if (node != Node::Socket)
        return QFile::link(node == Node::LinkToZero ? u"/dev/zero"_s : u"/dev/urandom"_s, path);
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

} // namespace

using OddFilesTest = CardRootTest;

// Each file the program reads from a card, in turn replaced by each kind of node: loading the
// folder, the details and the dump finishes, the node reads as a missing file and is not
// written through.
TEST_F(OddFilesTest, NodesReadAsMissingFilesWithoutBlocking) {
    const QString files[] = {u"arrange2.br0"_s, u"pattern.br0"_s,     u"effects2.br0"_s,
                             u"TAKE_EVT.BR0"_s, u"songinf2.br0"_s,    u"SongInfo.dat"_s,
                             u"Notes.txt"_s,    u"../diskinf2.br0"_s, u"../cardprm.br1"_s};
    for (const QString& file : files) {
        for (const Node node : {Node::Fifo, Node::Socket, Node::LinkToZero, Node::LinkToRandom}) {
            SCOPED_TRACE(file.toStdString() + " as node " + std::to_string(int(node)));
            TempFolder temp;
            CardFixture card(temp.path());
            ASSERT_TRUE(card.writeSongInfo(
                u"SONG001.BR0"_s, SongInfoRecord::ForModel(RecorderModel::BR864, "ODD", 2)));
            ASSERT_TRUE(card.writeDiskInfo(QByteArray(56, 'd')));
            ASSERT_TRUE(card.writeCardParams(QByteArray(140, 'p')));
            for (const QString& name : std::span(files, 4))
                ASSERT_TRUE(card.writeSongFile(u"SONG001.BR0"_s, name, QByteArray(64, 'x')));
            const QString path = card.path(u"Roland/BR0/SONG001.BR0/"_s + file);
            QFile::remove(path);
            ASSERT_TRUE(MakeNode(path, node));
            const QString root = temp.path();
            ExpectFinishesWithin(10, [&] {
                SOV_Info info;
                info.LoadFolder(root);
                const QString songPath = info.songPath();
                const CardDumpBytes dump = ReadCardDumpBytes(root);
                const TrackUsage usage = LoadTrackUsage(songPath + u"TAKE_EVT.BR0"_s);
                const bool title = ReadSongTitle(songPath).isEmpty();
                const bool notes = LoadSongNotes(songPath).isEmpty();
                const bool renamed = info.WriteSongName(u"NEW"_s);
                const bool infoIsNode = file == u"songinf2.br0"_s;
                return info.songs().size() == 1 && title && notes && !usage.isUsed(0, 0) &&
                       renamed == !infoIsNode &&
                       (infoIsNode ? info.songs()[0].name.isEmpty()
                                   : info.songs()[0].name == u"ODD     "_s) &&
                       dump.diskInfo.has_value() == !file.endsWith(u"diskinf2.br0") &&
                       dump.cardParams.has_value() == !file.endsWith(u"cardprm.br1");
            });
        }
    }
}

// A link to a regular file is read like the file; a file over the limit is refused as such.
TEST_F(OddFilesTest, LinksToRegularFilesAreReadAndLimitsHold) {
    ASSERT_TRUE(m_card.writeFile(u"plain"_s, "abc"));
    ASSERT_TRUE(m_card.makeSymlink(u"link"_s, m_card.path(u"plain"_s)));
    EXPECT_EQ(ReadWholeRegularFile(m_card.path(u"link"_s), 3), QByteArray("abc"));
    bool tooLarge = false;
    EXPECT_FALSE(ReadWholeRegularFile(m_card.path(u"plain"_s), 2, &tooLarge));
    EXPECT_TRUE(tooLarge);
}
