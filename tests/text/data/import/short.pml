\bA bold\b start, then plain words and \a169 a sign.
Second line.
