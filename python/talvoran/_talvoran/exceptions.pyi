class SAALError(Exception):
    pass
