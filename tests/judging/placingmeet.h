#pragma once

// The meet both placing tests start from. Blue (A): Ann 10, Bob 9, Cid 7; Red (B): Eve 5. Class 3
// in A: Ann, Bob and Eve entered, judged by Zoe Smith and Bob Adams.
#include "meetfixture.h"

struct PlacingMeet
{
    PlacingMeet() = default;
    explicit PlacingMeet(MeetBuilder b)
    {
        const auto blue = b.addTeam("Blue", "A");
        ann = b.addRider(blue, "Ann", "Lee", "10");
        bob = b.addRider(blue, "Bob", "Ray", "9");
        cid = b.addRider(blue, "Cid", "Fox", "7");
        eve = b.addRider(b.addTeam("Red", "B"), "Eve", "Kim", "5");
        smith = b.addJudge("Zoe", "Smith");
        adams = b.addJudge("Bob", "Adams");
        for (const auto rider : {ann, bob, eve})
            b.addEntry(3, rider);
        b.assignJudge(smith, 3, "A");
        b.assignJudge(adams, 3, "A");
    }

    std::int32_t ann = 0, bob = 0, cid = 0, eve = 0, smith = 0, adams = 0;
};
