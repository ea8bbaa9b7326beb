// Stand-in of the UDP link's start, receive pass and close until the link is
// built: no socket is opened (the message pump watches none), so nothing is
// ever received. Start and close are recorded.
#include "links/network.h"

#include "links/calls_standin.h"

void NET_init()
{
    links_standin_calls.push_back("NET_init()");
    net_inited = 1;
}

void NET_close()
{
    links_standin_calls.push_back("NET_close()");
    net_inited = 0;
}

void NET_receive() {}

void NET_socket_notify(int event) {}
