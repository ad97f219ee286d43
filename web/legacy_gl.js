// OpenGL 1.1 entry points that the scene's own drawing names (the board Model's display
// list, each Shape's immediate-mode draw: the native program's reference drawing). The web
// build never reaches them, as its frames go to the WebGL 2 renderer; they are defined so
// that the module links, and each stops the page loudly should that ever change. The link
// names any other such call as an undefined symbol.
mergeInto(LibraryManager.library, {
  glCallList: function() { throw 'tessera: glCallList is OpenGL 1.1, which the web build does not draw with'; },
  glColor3f: function() { throw 'tessera: glColor3f is OpenGL 1.1, which the web build does not draw with'; },
  glEnd: function() { throw 'tessera: glEnd is OpenGL 1.1, which the web build does not draw with'; },
  glEndList: function() { throw 'tessera: glEndList is OpenGL 1.1, which the web build does not draw with'; },
  glIsList: function() { throw 'tessera: glIsList is OpenGL 1.1, which the web build does not draw with'; },
  glMaterialfv: function() { throw 'tessera: glMaterialfv is OpenGL 1.1, which the web build does not draw with'; },
  glNewList: function() { throw 'tessera: glNewList is OpenGL 1.1, which the web build does not draw with'; },
  glNormal3f: function() { throw 'tessera: glNormal3f is OpenGL 1.1, which the web build does not draw with'; },
  glPolygonMode: function() { throw 'tessera: glPolygonMode is OpenGL 1.1, which the web build does not draw with'; },
  glPopMatrix: function() { throw 'tessera: glPopMatrix is OpenGL 1.1, which the web build does not draw with'; },
  glPushMatrix: function() { throw 'tessera: glPushMatrix is OpenGL 1.1, which the web build does not draw with'; },
  glRotatef: function() { throw 'tessera: glRotatef is OpenGL 1.1, which the web build does not draw with'; },
  glScalef: function() { throw 'tessera: glScalef is OpenGL 1.1, which the web build does not draw with'; },
  glTranslatef: function() { throw 'tessera: glTranslatef is OpenGL 1.1, which the web build does not draw with'; },
  glVertex3f: function() { throw 'tessera: glVertex3f is OpenGL 1.1, which the web build does not draw with'; },
});
