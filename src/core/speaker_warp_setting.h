#pragma once

class Recognizer;
class Settings;

// Keeps what the recogniser learns of the family's voices (warp and adaptation) in the settings:
// the stored state goes to the recogniser now and whenever the settings are read again (at
// start-up, after a hand edit), and each state it learns is stored. A failed save is not
// reported: the next accepted command saves again, and without it the recogniser only starts over
// from no evidence.
void keepSpeakerWarp(Settings &settings, Recognizer &recognizer);
