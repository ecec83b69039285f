#pragma once

class Session;

// Send Claims: back up each claim file, put a copy named with the format code into the outbound
// folder, open the portal, and take the claim files out of the claim folder.
namespace ClaimSubmission
{
    void sendClaims(Session &session);
} // namespace ClaimSubmission
