// The configuration of a class server: nats-server, the message server, with a WebSocket listener
// for the pages, every user's permissions and small messages only; the web server in front (nginx),
// which serves the page and passes /klasa to that listener; and the small file beside the page
// that says a class server is there. plotnik-klasa writes them for a lesson on a teacher's laptop;
// a school's administrator writes the same (docs/administrators.md), with a teacher account for
// each teacher (plotnik-klasa --account).
//
// Accounts and subjects: a pupil gives no credentials and gets the pupil's user, which may only
// read every class's state (plotnik.*.*.state, and the replies to its own requests in _INBOX.>)
// and publish answers and hellos (plotnik.*.*.answer, plotnik.*.*.hello). A teacher's user is named
// by the teacher's two characters (K7) with its token's bcrypt hash, and may only publish the
// states of its own lessons (plotnik.K7.*.state), read its own lessons' answers and hellos
// (plotnik.K7.*.answer, plotnik.K7.*.hello) and answer the hellos it got. Nothing is stored: no
// JetStream; nothing of a message is logged (no tracing).
#pragma once

#include "pictures/class_code.h"

#include <string>
#include <vector>

// The page's file that says a class server is there, and the address the pages reach it at,
// relative to the page.
constexpr char kClassServerFile[] = "class-server.json";
constexpr char kClassServerPath[] = "klasa";
constexpr int kMaxMessageBytes = 1024;

struct TeacherAccount {
    std::string code;  // the teacher's two characters, the user's name
    std::string hash;  // the bcrypt hash of the teacher's token
};

struct MessageServerPlan {
    std::string clientListen;     // host:port of the plain listener, for the server's own tools
    std::string websocketListen;  // host:port of the pages' WebSocket listener
    std::vector<TeacherAccount> teachers;
    std::string monitorListen;    // host:port of its monitoring pages (/varz, /connz); "" for none
    // One node of a cluster: its name, where it takes the other nodes' routes, and theirs.
    // A server alone has no clusterListen.
    // The nodes let only each other in as routes, with the route user's secret. It stands as it is
    // in the file (not as a hash), since the routes' addresses carry it anyway, and nats-server
    // would send a hash as the password of the routes it learns from the others.
    std::string name;
    std::string clusterListen;
    std::vector<std::string> routes;  // host:port of the other nodes' clusterListen
    std::string routeSecret;
};

struct WebServerPlan {
    std::string listen;           // host:port, as nginx's listen takes it
    std::string site;             // the page's folder
    std::string folder;           // nginx's own files: its pid, log and temporary folders, the class file
    std::vector<std::string> messageServers;  // host:port of each node's WebSocket listener, where /klasa goes
    bool asRoot = false;          // started by root: its workers stay root, to read the folder
};

// One teacher's user, as it goes into authorization.users.
std::string teacherUser(const TeacherAccount& teacher);

// The pupils' user, which clients without credentials get.
std::string pupilUser();

// nats-server's whole configuration.
std::string messageServerConfig(const MessageServerPlan& plan);

// nginx's whole configuration, for a server run by the user in the foreground.
std::string webServerConfig(const WebServerPlan& plan);

// The class file's text: {"server":"klasa"}.
std::string classServerFileText();

// A host as an address writes it: an IPv6 literal in brackets.
std::string hostInAddress(const std::string& host);

// The pupils' address, and the teacher's with the key in the fragment (no web server sees it).
std::string pupilsAddress(const std::string& host, int port);
std::string teacherAddress(const std::string& host, int port, const std::string& key);

// The bcrypt hash of a secret ($2b$, cost 10), with a salt from random. False, with why, when the
// system's crypt library cannot make one.
bool bcryptHash(const std::string& secret, const RandomBytes& random, std::string& hash, std::string& why);
