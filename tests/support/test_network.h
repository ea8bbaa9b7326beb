// The network the test binaries use, kept apart from every other process on
// the machine.
//
// A test binary started with the right to do so (root) moves into a private
// network namespace of its own before any test runs: its loopback sees only
// its own datagrams and those of the children it starts. Elsewhere (or with
// ORVELL_TEST_SHARED_NETWORK set, to check the fallback) it shares the
// machine's loopback, and its sockets bind ports of a block this process owns:
// below the kernel's ephemeral range, so no socket of another program is ever
// given one of them, and one lock per block, so two test binaries never share
// one.
#pragma once

// True when the process runs in a private network namespace.
bool test_network_is_private();

// The number of ports in this process's block.
constexpr int TEST_OWNED_PORTS = 31;

// Port k (0 .. TEST_OWNED_PORTS-1) of the block this process owns. Only this
// process binds them; the block is taken on first use. Throws when no block
// is free.
int test_owned_port(int k);

// Who owns which port of the block, so that no two helpers take the same one.
enum test_port_use {
    TEST_PORT_PEER = 0,      // the loopback peer's receiving socket
    TEST_PORT_PEER_SENDER,   // the peer's sending socket
    TEST_PORT_PROGRAM,       // the link of the program under test
    TEST_PORT_FREE_FIRST,    // the rest, for tests of their own
};
