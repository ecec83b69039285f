#pragma once

#include "session/SendOutcome.h"
#include "session/SendRequest.h"

class Session;

// Send Claims: back up each claim file, put a copy named with the format code into the outbound
// folder, open the portal, and take the claim files out of the claim folder.
namespace ClaimSubmission
{
    // What a press of Send Claims sends, from the session as it is now.
    SendRequest request(Session &session, const OwnFolders &own);
    // The whole command: the lock against another run, the session log around the submission.
    SendOutcome sendClaims(Session &session);
} // namespace ClaimSubmission
