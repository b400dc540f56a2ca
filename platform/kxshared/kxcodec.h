// SPDX-License-Identifier: Apache-2.0
// Copyright the kxNotifyKXMessage authors
#pragma once

#include "kxsharedexport.h"

#include <QString>

/// Decodes the Unihex notation that 8-bit settings use for characters they cannot hold: every
/// "<UNIhex" followed by hexadecimal digits (either letter case) and ">" becomes that one
/// character, so "<UNIhex20ac>" is U+20AC (a character beyond U+FFFF becomes its surrogate pair).
/// Everything else stays as written: other angle-bracket texts ("<KX_ROOT>", "<rights>"), a notation
/// without digits or without its ">", and one naming no character (0, a surrogate, above U+10FFFF).
KXSHARED_EXPORT QString kxFromKXUnihex(const QString& text);

/// Turns XML character references back into characters, in one pass from left to right: the five
/// named entities (&amp; &lt; &gt; &quot; &apos;), decimal "&#…;" and hexadecimal "&#x…;" (or "&#X…;").
/// An unknown, empty or unterminated reference, and a number naming no character (0, a surrogate,
/// above U+10FFFF), stay as written. What a reference turns into is not read again ("&amp;lt;" gives
/// "&lt;").
KXSHARED_EXPORT QString fromXmlString(const QString& text);
