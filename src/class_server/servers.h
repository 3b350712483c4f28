// The two servers of a lesson on a teacher's laptop, run as the user's own child processes: where
// they listen, starting each and knowing it is up, and stopping both so that nothing is left.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// The address of this machine on the network its default route leads to (the classroom's): the
// IPv4 address of that interface. False, with why in Polish, when there is none.
bool classroomAddress(std::string& host, std::string& why);

// A port nobody listens on at host, as the system hands one out. False, with why, when the host
// is not this machine's.
bool freePort(const std::string& host, int& port, std::string& why);

// Whether something takes TCP connections at host:port now.
bool accepts(const std::string& host, int port);

// A program by name on PATH or in /usr/sbin and /sbin, where Debian puts servers; "" when none.
std::string findProgram(const std::string& name);

struct Server {
    std::string name;               // as the teacher reads it: "serwer wiadomości (nats-server)"
    std::vector<std::string> argv;  // the command
    std::string log;                // its output goes here
    pid_t pid = 0;                  // while it runs
};

// Starts the server as a child in a process group of its own (Ctrl+C in the terminal reaches
// only plotnik-klasa, which stops it in turn), ended by the system if plotnik-klasa dies. False,
// with why, when it cannot be started.
bool startServer(Server& server, std::string& why);

// Waits up to timeoutMs until the server takes connections at host:port; false, with why (the end
// of its log), when it ended or did not come up in time.
bool waitUntilListening(Server& server, const std::string& host, int port, int timeoutMs, std::string& why);

// Whether the server ended since it was started (it is then reaped and its pid is 0).
bool ended(Server& server);

// Stops the servers: SIGTERM, then SIGKILL to any still running after a few seconds; reaps them.
void stopServers(std::vector<Server*> servers);

// The last lines of a log, to say why a server ended.
std::string logTail(const std::string& log, int lines = 5);
