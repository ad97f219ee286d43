'use strict';
// A phone's brush on the big screen: its touches on the picture go to the show.
