#pragma once

#include "share/share_code.h"
#include "share/share_server.h"

#include <memory>
#include <string>

namespace tessera {

class Show;

// The board shared with the phones in the room: the server they paint through, fed the
// show's picture whenever it changes and emptied into the show each live step, and the
// corner that shows them where to go.
class SharedBoard {
public:
    // Listens where the command line said; "" or why it cannot.
    // The code goes top left where a finger's controls take the right edge.
    std::string start(const ShareAddress& address, int maxPhones, bool showCode,
                      bool fingerControls);
    // The show takes the phones' events from here and lays the corner code over its frames.
    void attach(Show& show);
    const std::string& address() const { return page; }

private:
    void keepPicture(const Show& show);

    ShareServer server;
    std::unique_ptr<ShareCode> code;
    ShareCode::Corner corner = ShareCode::Corner::TopRight;
    std::string page;
    // The picture the phones have, told apart by its pixels' storage and the board's shape.
    const unsigned char* sentPixels = nullptr;
    int sentWidth = 0;
    int sentHeight = 0;
};

} // namespace tessera
