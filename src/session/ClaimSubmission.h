#pragma once

#include "session/SendOutcome.h"

class Session;

// Send Claims: back up each claim file, put a copy named with the format code into the outbound
// folder, open the portal, and take the claim files out of the claim folder.
namespace ClaimSubmission
{
    SendOutcome sendClaims(Session &session);
} // namespace ClaimSubmission
