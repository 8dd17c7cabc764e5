# The zip a user unpacks into the simulator folder (filled in with the stand-in simulator).
