// Named pipes, sockets and devices are refused at once, whichever class opens
// them, instead of hanging the editor on a pipe that has no writer.
#include "document/TextFileCheck.h"
#include "storage/CFile64.h"
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace storage_test;

namespace {

// Unblocks an open stuck on a pipe (by opening its other end) should the code
// under test ever wait for a peer again, so the test fails instead of hanging.
class PipeWatchdog {
public:
    explicit PipeWatchdog(std::string pipe) : m_pipe(std::move(pipe)) {
        m_thread = std::thread([this] {
            for (int i = 0; i < 50 && !m_done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!m_done) {
                m_fired = true;
                const int fd = ::open(m_pipe.c_str(), O_RDWR | O_NONBLOCK);
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
                if (fd >= 0)
                    ::close(fd);
            }
        });
    }
    ~PipeWatchdog() {
        m_done = true;
        m_thread.join();
    }
    bool Fired() const { return m_fired; }

private:
    std::string m_pipe;
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

int MakeSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return -1;
    return fd;
}

} // namespace

TEST(NonRegularFiles, PipesSocketsAndDevicesAreRefusedWithoutWaiting) {
    TempDir dir;
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string socketPath = dir.File("socket");
    const int socketFd = MakeSocket(socketPath);
    ASSERT_GE(socketFd, 0);

    std::vector<std::string> names = {pipe, socketPath, "/dev/null", "/dev/zero"};
    // Block devices are refused too; test one where the machine has one.
    for (const char* block : {"/dev/loop0", "/dev/sda", "/dev/vda", "/dev/nvme0n1"}) {
        struct stat st {};
        if (::stat(block, &st) == 0 && S_ISBLK(st.st_mode)) {
            names.push_back(block);
            break;
        }
    }
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> opens = {
        {"text check", [](const std::string& name) { LooksLikeText(name); }},
        {"CFile64 read",
         [](const std::string& name) {
             CFile64 file;
             CFileException error;
             if (!file.Open(name.c_str(), CFile64::modeRead | CFile64::shareDenyWrite, &error))
                 throw error;
         }},
        {"piece file read-write",
         [](const std::string& name) {
             CPieceFile64 file;
             CFileException error;
             if (!file.Open(name.c_str(), CFile64::modeReadWrite | CFile64::shareDenyWrite, &error))
                 throw error;
         }},
    };
    for (const std::string& name : names) {
        for (const auto& [what, open] : opens) {
            PipeWatchdog watchdog(pipe);
            try {
                open(name);
                ADD_FAILURE() << what << " opened " << name;
            } catch (const CFileException& e) {
                EXPECT_EQ(e.m_cause, CFileException::notRegularFile) << what << " " << name;
                EXPECT_EQ(e.GetErrorMessage(),
                          name + " n'est pas un fichier ordinaire (tube, socket ou périphérique) "
                                 ": Quexo ne peut pas l'ouvrir.");
            }
            EXPECT_FALSE(watchdog.Fired()) << what << " waited on " << name;
        }
    }
    ::close(socketFd);
}
