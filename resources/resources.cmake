# The artwork the program carries, embedded at build time.
