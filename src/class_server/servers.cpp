// Finding the classroom's address and free ports, and running the two servers.
#include "class_server/servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// A socket bound to host:port (port 0: one the system picks); -1, with why, when it cannot be.
int boundSocket(const std::string& host, int port, std::string& why)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const int status = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (status != 0) {
        why = "„" + host + "” nie jest adresem IP (" + gai_strerror(status) + ")";
        return -1;
    }
    const int s = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0 || bind(s, found->ai_addr, found->ai_addrlen) != 0) {
        why = "nie można słuchać pod adresem „" + host + "”: " + std::strerror(errno);
        if (s >= 0) {
            close(s);
        }
        freeaddrinfo(found);
        return -1;
    }
    freeaddrinfo(found);
    return s;
}

}  // namespace

bool classroomAddress(std::string& host, std::string& why)
{
    // The interface of the default route: the line whose destination is 00000000.
    std::ifstream routes("/proc/net/route");
    std::string line;
    std::string interface;
    std::getline(routes, line);  // the heading
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string destination;
        fields >> name >> destination;
        if (destination == "00000000") {
            interface = name;
            break;
        }
    }
    ifaddrs* all = nullptr;
    if (interface.empty() || getifaddrs(&all) != 0) {
        why = "ten komputer nie jest w żadnej sieci (nie ma domyślnej trasy)";
        return false;
    }
    for (const ifaddrs* a = all; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr != nullptr && a->ifa_addr->sa_family == AF_INET && interface == a->ifa_name) {
            char text[INET_ADDRSTRLEN];
            inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(a->ifa_addr)->sin_addr, text, sizeof text);
            host = text;
            freeifaddrs(all);
            return true;
        }
    }
    freeifaddrs(all);
    why = "interfejs sieci " + interface + " nie ma adresu IPv4";
    return false;
}

bool freePort(const std::string& host, int& port, std::string& why)
{
    const int s = boundSocket(host, 0, why);
    if (s < 0) {
        return false;
    }
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    port = ntohs(address.ss_family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&address)->sin6_port
                                                : reinterpret_cast<sockaddr_in*>(&address)->sin_port);
    close(s);
    return true;
}

bool accepts(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return false;
    }
    const int s = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool connected = s >= 0 && connect(s, found->ai_addr, found->ai_addrlen) == 0;
    if (s >= 0) {
        close(s);
    }
    freeaddrinfo(found);
    return connected;
}

std::string findProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(std::string(path != nullptr ? path : "") + ":/usr/sbin:/sbin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return "";
}

bool startServer(Server& server, std::string& why)
{
    const int log = open(server.log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (log < 0) {
        why = "nie można zapisać " + server.log + ": " + std::strerror(errno);
        return false;
    }
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        why = std::string("fork: ") + std::strerror(errno);
        close(log);
        return false;
    }
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) {
            _exit(1);  // plotnik-klasa ended before this line
        }
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        const int in = open("/dev/null", O_RDONLY);
        dup2(in, 0);
        dup2(log, 1);
        dup2(log, 2);
        std::vector<char*> argv;
        for (std::string& a : server.argv) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        const std::string failed = "exec " + server.argv[0] + ": " + std::strerror(errno) + "\n";
        (void)!write(2, failed.data(), failed.size());
        _exit(127);
    }
    close(log);
    server.pid = pid;
    return true;
}

bool ended(Server& server)
{
    if (server.pid == 0) {
        return true;
    }
    int status = 0;
    if (waitpid(server.pid, &status, WNOHANG) == server.pid) {
        server.pid = 0;
        return true;
    }
    return false;
}

bool waitUntilListening(Server& server, const std::string& host, int port, int timeoutMs, std::string& why)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!accepts(host, port)) {
        if (ended(server)) {
            why = server.name + " zakończył działanie: " + logTail(server.log);
            return false;
        }
        if (std::chrono::steady_clock::now() > end) {
            why = server.name + " nie odpowiada po " + std::to_string(timeoutMs / 1000) + " s: " + logTail(server.log);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void stopServers(std::vector<Server*> servers)
{
    for (Server* s : servers) {
        if (s->pid != 0) {
            kill(s->pid, SIGTERM);
        }
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (Server* s : servers) {
        while (s->pid != 0 && !ended(*s)) {
            if (std::chrono::steady_clock::now() > end) {
                kill(-s->pid, SIGKILL);  // its whole group: nginx's worker too
                waitpid(s->pid, nullptr, 0);
                s->pid = 0;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

std::string logTail(const std::string& log, int lines)
{
    std::ifstream file(log);
    std::vector<std::string> last;
    for (std::string line; std::getline(file, line);) {
        last.push_back(line);
        if (static_cast<int>(last.size()) > lines) {
            last.erase(last.begin());
        }
    }
    std::string text;
    for (const std::string& line : last) {
        text += "\n  " + line;
    }
    return text.empty() ? "(brak wpisów w " + log + ")" : text;
}
